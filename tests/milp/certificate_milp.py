"""The certificate's best values against an integer programme solved by HiGHS (scipy.optimize.milp).

Reads the lines certificate_cases writes (one variant of a generated task each) and, for every
line, solves: choose at most one alternative per group (binary y), money sum(cost y) <= K, at most
G alternatives when G > 0, credit used e >= money - own, e >= 0; with pay-back in mode 1
income >= (coefficient - 1e-8) money, in mode 2 income >= money + ps/100 e + nsd_ticks - 1e-8;
maximise sum(amount y), less delta (money + ps/100 e) for a sale task. An infeasible programme
must be a task without an admissible plan (best null).
usage: certificate_milp.py CASES_PROGRAM [COUNT]
"""
import json
import subprocess
import sys

import numpy as np
from scipy.optimize import Bounds, LinearConstraint, milp


def solve(case):
    alts = [(g, a) for g, group in enumerate(case["groups"]) for a in range(len(group))]
    n = len(alts) + 1  # the alternatives, then e
    cost = np.zeros(n)
    income = np.zeros(n)
    amount = np.zeros(n)
    for i, (g, a) in enumerate(alts):
        cost[i], income[i], amount[i] = case["groups"][g][a]
    e = np.zeros(n)
    e[-1] = 1
    rows, lower, upper = [], [], []

    def add(row, lo, hi):
        rows.append(row)
        lower.append(lo)
        upper.append(hi)

    for g in range(len(case["groups"])):
        row = np.zeros(n)
        for i, (gg, _) in enumerate(alts):
            if gg == g:
                row[i] = 1
        add(row, -np.inf, 1)
    add(cost, -np.inf, case["K"])
    if case["G"] > 0:
        row = np.ones(n)
        row[-1] = 0
        add(row, -np.inf, case["G"])
    add(e - cost, -case["own"], np.inf)
    if case["prok"] == 1:
        if case["reg"] == 1:
            add(income - (case["coefficient"] - 1e-8) * cost, 0, np.inf)
        else:
            add(income - cost - case["ps"] / 100 * e, case["nsd_ticks"] - 1e-8, np.inf)
    objective = amount.copy()
    if case["prmp"] == 1:
        objective -= case["delta"] * (cost + case["ps"] / 100 * e)
    integrality = np.ones(n)
    integrality[-1] = 0
    upper_bounds = np.ones(n)
    upper_bounds[-1] = np.inf
    res = milp(-objective, constraints=LinearConstraint(np.array(rows), lower, upper),
               integrality=integrality, bounds=Bounds(np.zeros(n), upper_bounds),
               options={"mip_rel_gap": 0, "presolve": True})
    if res.status == 2:
        return None
    if res.status != 0:
        raise RuntimeError("HiGHS: " + res.message)
    return -res.fun


def main():
    count = sys.argv[2] if len(sys.argv) > 2 else "40"
    out = subprocess.run([sys.argv[1], count], check=True, capture_output=True, text=True).stdout
    failures, checked, feasible = 0, 0, 0
    for line in out.splitlines():
        case = json.loads(line)
        got = solve(case)
        best = case["best"]
        checked += 1
        scale = 1 + sum(max(abs(a[2]) for a in g) for g in case["groups"]) + case["delta"] * case["K"]
        if (got is None) != (best is None):
            failures += 1
            print("admissible plans differ: HiGHS", got, "certificate", best, line[:200])
            continue
        if got is None:
            continue
        feasible += 1
        if abs(got - best) > 1e-7 * scale or case["plan_value"] != best:
            failures += 1
            print("best values differ: HiGHS", got, "certificate", best, case["plan_value"])
    print(f"{checked} variants, {feasible} with an admissible plan, {failures} disagreements")
    if failures or feasible < checked // 2:
        sys.exit(1)


if __name__ == "__main__":
    main()
