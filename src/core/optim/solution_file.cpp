#include "optim/solution_file.h"

#include "dbor/file_head.h"
#include "io/files.h"
#include "io/numbers.h"

#include <algorithm>
#include <stdexcept>

namespace kov {

namespace {

std::string num(long long v) {
    return std::to_string(v);
}

std::string triple_text(const ChoiceTriple& c) {
    std::string text = "(";
    text.append(num(c.object))
        .append(", ")
        .append(num(c.modernisation))
        .append(", ")
        .append(num(c.income));
    return text.append(")");
}

SolutionHeader read_header(ByteReader& in) {
    in.need(kSolutionHeaderSize, "the solution header");
    SolutionHeader h;
    h.info1 = in.pstring(40, "the first information text");
    h.info2 = in.pstring(40, "the second information text");
    h.info3 = in.pstring(40, "the third information text");
    h.duration = in.pstring(40, "the duration of the run");
    h.message = in.pstring(255, "the message of the run");
    h.kr = in.i32("KR");
    h.lchi = in.i32("LChI");
    h.result = in.i32("the result flag");
    if (h.result != 0 && h.result != 1) {
        in.fail("the result flag " + num(h.result) + " is neither 0 nor 1");
    }
    h.end_time = in.f64("the time of the run");
    h.end_date = in.f64("the date of the run");
    if (!is_day_count(h.end_time) || !is_day_count(h.end_date)) {
        in.fail("the time or the date of the run is no date of the years 1 to 9999");
    }
    h.okr = in.f64("OKR");
    h.ko = in.f64("KO");
    return h;
}

// Checks the records of one variant: all (0, 0, 0), all (-1, -2, -3), or each (-1, -1, -1) or a
// triple that exists in the BDON (and, with `groups`, is an alternative of its group).
void check_plan(ByteReader& in, std::size_t v, const std::vector<ChoiceTriple>& plan,
                const TaskHeader& task, const BdonData& bdon,
                const std::vector<std::vector<ChoiceTriple>>* groups) {
    const std::string where = "variant " + num(long(v + 1));
    const bool none = std::all_of(plan.begin(), plan.end(),
                                  [](const ChoiceTriple& c) { return c == kNotSolved; });
    const bool nothing = std::all_of(plan.begin(), plan.end(),
                                     [](const ChoiceTriple& c) { return c == kInvestNothing; });
    if (none || nothing) {
        return;
    }
    const std::string db = "\"" + (bdon.path.empty() ? dbor_code(bdon.header) : bdon.path) + "\"";
    for (std::size_t g = 0; g < plan.size(); ++g) {
        const ChoiceTriple& c = plan[g];
        const std::string rec = where + " record " + num(long(g + 1)) + " " + triple_text(c);
        if (c == kNotTaken) {
            continue;
        }
        if (c == kNotSolved || c == kInvestNothing) {
            in.fail(rec + ": a variant without a plan has this record in every place");
        }
        if (c.object < 1 || std::size_t(c.object) > bdon.objects.size()) {
            in.fail(rec + ": the database " + db + " has no object " + num(c.object));
        }
        const std::size_t i = std::size_t(c.object - 1);
        if (c.modernisation < 0 || std::size_t(c.modernisation) >= bdon.variants[i].size()) {
            in.fail(rec + ": object " + num(c.object) + " of the database " + db +
                    " has no modernisation variant " + num(c.modernisation));
        }
        const std::size_t j = std::size_t(c.modernisation);
        const std::size_t count =
            task.prmp == 1 ? bdon.sale_variants[i][j].size() : bdon.expl_variants[i][j].size();
        if (c.income < 1 || std::size_t(c.income) > count) {
            in.fail(rec + ": variant " + num(c.modernisation) + " of object " + num(c.object) +
                    " of the database " + db + " has " + num(long(count)) +
                    (task.prmp == 1 ? " sale" : " exploitation") + " variants");
        }
        if (groups &&
            std::find((*groups)[g].begin(), (*groups)[g].end(), c) == (*groups)[g].end()) {
            in.fail(rec + ": not one of the alternatives of group " + num(long(g + 1)) +
                    " of the task");
        }
    }
}

} // namespace

bool solution_has_body(std::int32_t nsg, std::int32_t mz) {
    return nsg > 0 && mz > 0;
}

std::size_t solution_file_size(std::int32_t nsg, std::int32_t mz) {
    if (!solution_has_body(nsg, mz)) {
        return kSolutionHeaderSize;
    }
    return kSolutionHeaderSize + 4 * std::size_t(nsg) +
           kChoiceTripleSize * std::size_t(nsg) * std::size_t(mz);
}

Bytes encode_solution(const Solution& s, CodePage cp) {
    if (!s.cycles.empty()) {
        if (s.plans.size() != s.cycles.size() || s.plans[0].empty()) {
            throw std::invalid_argument("solution: the plans do not match the cycle counts");
        }
        for (const auto& p : s.plans) {
            if (p.size() != s.plans[0].size()) {
                throw std::invalid_argument(
                    "solution: the plans have different numbers of records");
            }
        }
    } else if (!s.plans.empty()) {
        throw std::invalid_argument("solution: plans without cycle counts");
    }
    ByteWriter out(cp);
    const SolutionHeader& h = s.header;
    out.pstring(h.info1, 40);
    out.pstring(h.info2, 40);
    out.pstring(h.info3, 40);
    out.pstring(h.duration, 40);
    out.pstring(h.message, 255);
    out.i32(h.kr);
    out.i32(h.lchi);
    out.i32(h.result);
    out.f64(h.end_time);
    out.f64(h.end_date);
    out.f64(h.okr);
    out.f64(h.ko);
    for (std::int32_t c : s.cycles) {
        out.i32(c);
    }
    for (const auto& plan : s.plans) {
        for (const auto& c : plan) {
            out.i32(c.object);
            out.i32(c.modernisation);
            out.i32(c.income);
        }
    }
    return out.take();
}

Solution decode_solution(std::span<const std::uint8_t> data, const std::string& file,
                         const TaskHeader& task, const BdonData* bdon,
                         const std::vector<std::vector<ChoiceTriple>>* groups, SolutionParts parts,
                         CodePage cp) {
    ByteReader in(data, file, cp);
    Solution s;
    s.header = read_header(in);
    if (parts == SolutionParts::Header) {
        return s;
    }
    if (!bdon) {
        throw std::invalid_argument("decode_solution: reading the body needs the database");
    }
    if (task.nsg < 0 || task.nsg > kMaxInvestmentVariants || task.mz < 0 || task.mz > kMaxObjects) {
        throw std::invalid_argument("decode_solution: the task's nsg or mz is beyond its limits");
    }
    if (groups && groups->size() != std::size_t(task.mz)) {
        throw std::invalid_argument("decode_solution: the groups do not match the task's mz");
    }
    const std::size_t expected = solution_file_size(task.nsg, task.mz);
    if (data.size() != expected) {
        in.fail("the file has " + num(long(data.size())) + " bytes, but the task " + task.shifr +
                " with " + num(task.nsg) + " investment variants and " + num(task.mz) +
                " groups calls for " + num(long(expected)) +
                " (a solution of another definition of the task)");
    }
    if (!solution_has_body(task.nsg, task.mz)) {
        return s;
    }
    const std::size_t nsg = std::size_t(task.nsg);
    const std::size_t mz = std::size_t(task.mz);
    const std::size_t variants = parts == SolutionParts::FirstPlan ? 1 : nsg;
    for (std::size_t v = 0; v < variants; ++v) {
        const std::int32_t c = in.i32("a cycle count");
        if (c < 0) {
            in.fail("variant " + num(long(v + 1)) + ": the cycle count " + num(c) + " is negative");
        }
        s.cycles.push_back(c);
    }
    in.seek(kSolutionHeaderSize + 4 * nsg, "the solution records");
    s.plans.resize(variants);
    for (std::size_t v = 0; v < variants; ++v) {
        s.plans[v].resize(mz);
        for (auto& c : s.plans[v]) {
            c.object = in.i32("a solution record");
            c.modernisation = in.i32("a solution record");
            c.income = in.i32("a solution record");
        }
        check_plan(in, v, s.plans[v], task, *bdon, groups);
    }
    return s;
}

SolutionHeader read_solution_header(const std::string& path, CodePage cp) {
    const TaskHeader none;
    return decode_solution(read_file_head(path, kSolutionHeaderSize), path, none, nullptr, nullptr,
                           SolutionParts::Header, cp)
        .header;
}

namespace {
constexpr std::size_t kMaxSolutionSize = kSolutionHeaderSize + 4 * kMaxInvestmentVariants +
                                         kChoiceTripleSize * kMaxInvestmentVariants * kMaxObjects;
}

Solution read_solution(const std::string& path, const TaskHeader& task, const BdonData& bdon,
                       const std::vector<std::vector<ChoiceTriple>>* groups, CodePage cp) {
    return decode_solution(read_file(path, kMaxSolutionSize), path, task, &bdon, groups,
                           SolutionParts::Full, cp);
}

Solution read_solution_first_plan(const std::string& path, const TaskHeader& task,
                                  const BdonData& bdon, CodePage cp) {
    return decode_solution(read_file(path, kMaxSolutionSize), path, task, &bdon, nullptr,
                           SolutionParts::FirstPlan, cp);
}

void write_solution(const std::string& path, const Solution& s, CodePage cp) {
    write_file_atomic(path, encode_solution(s, cp));
}

bool mark_taken_objects_absent(const Solution& s, BdonData& bdon) {
    if (s.header.result != 1) {
        return false;
    }
    if (!s.plans.empty()) {
        for (const auto& c : s.plans[0]) {
            if (c.object >= 1 && std::size_t(c.object) <= bdon.objects.size()) {
                bdon.objects[std::size_t(c.object - 1)].absence.assign(1, '*');
            }
        }
    }
    return true;
}

} // namespace kov
