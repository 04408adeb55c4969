#include "optim/run_lines.h"

#include "io/numbers.h"

#include <charconv>

namespace kov {

std::string integer_text(std::int64_t value) {
    char buf[24];
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return std::string(buf, end);
}

std::string RunTexts::start_line(const std::string& time, const std::string& date) const {
    return shell_.text(196) + " " + quoted_code() + ":  " + time + " (" + shell_.text(47) + ") " +
           date + " (" + shell_.text(80) + ").";
}

std::string RunTexts::line1(int variants) const {
    return "1. " + shell_.trimmed(108) + ". " + shell_.text(474) + " - " + integer_text(variants) +
           ".";
}

std::string RunTexts::line2(int variant, std::int64_t states) const {
    return "2. " + shell_.text(109) + " " + integer_text(variant) + shell_.text(76) + " " +
           integer_text(states) + ".";
}

std::string RunTexts::line3(int variant) const {
    return "3. " + shell_.text(110) + " " + integer_text(variant) + shell_.text(74) + ".";
}

std::string RunTexts::line4(int variant, int cycles, int groups, double gain, int prmp) const {
    std::string line = "4. " + shell_.text(112) + " " + integer_text(variant) + shell_.text(74) +
                       ". " + shell_.text(298) + "! " + shell_.text(506) + " - " +
                       integer_text(cycles) + ". " + shell_.text(prmp == 1 ? 172 : 173) + " " +
                       integer_text(groups) + " " + shell_.short_trimmed(23) + " - " +
                       format_fixed(gain, 2, decimal_) + " " + shell_.short_trimmed(6);
    if (prmp != 1) {
        line += '/';
        line += shell_.short_trimmed(3);
    }
    return line;
}

std::string RunTexts::line5(int variant) const {
    return "5. " + shell_.text(111) + " " + integer_text(variant) + shell_.text(74) + ".";
}

std::string RunTexts::line6(int variants) const {
    return "6. " + shell_.text(107) + " " + quoted_code() + ", " + shell_.text(426) + " " +
           integer_text(variants) + " " + shell_.text(125) + ".";
}

std::string RunTexts::end_line(const std::string& duration) const {
    return shell_.text(88) + " " + quoted_code() + " - " + duration + ".";
}

std::string RunTexts::message(SolverOutcome outcome, const SchemeParameters& p, int variant,
                              std::int64_t states) const {
    const std::string head = shell_.text(126) + " " + quoted_code() + ". ";
    const std::string refused = head + shell_.text(504) + ". ";
    switch (outcome) {
    case SolverOutcome::OmegaOutOfRange:
        return refused + shell_.text(375) + " " + format_fixed(p.omega, 3, decimal_) + ".";
    case SolverOutcome::ThresholdOutOfRange:
        return refused + shell_.text(374) + " " + format_fixed(p.threshold, 3, decimal_) + " .";
    case SolverOutcome::CheckEveryOutOfRange:
        return refused + shell_.text(373) + " " + integer_text(p.check_every) + ".";
    case SolverOutcome::MaxCyclesOutOfRange:
        return refused + shell_.text(376) + " " + integer_text(p.max_cycles) + ".";
    case SolverOutcome::TooManyStates:
        return refused + shell_.text(384) + " " + integer_text(variant) + shell_.text(75) + " " +
               integer_text(states) + " (>" + integer_text(kMaxPhaseStates) + " " +
               shell_.text(92) + ").";
    case SolverOutcome::IterationLimit:
        return head + shell_.text(14) + " " + integer_text(variant) + shell_.text(74) + ". " +
               shell_.text(372) + ".";
    case SolverOutcome::Solved:
        break;
    }
    return {};
}

void RunLines::task_read(int variants) {
    progress_.show(RunLine::Progress1, texts_.line1(variants));
}

void RunLines::variant_started(int) {
    progress_.show(RunLine::Progress2, {});
    progress_.show(RunLine::Progress3, {});
    progress_.show(RunLine::Progress5, {});
}

void RunLines::states_numbered(int variant, std::int64_t states) {
    progress_.show(RunLine::Progress2, texts_.line2(variant, states));
}

void RunLines::transitions_built(int variant) {
    progress_.show(RunLine::Progress3, texts_.line3(variant));
}

void RunLines::iterated(int variant, int cycles, double gain) {
    progress_.show(RunLine::Progress4, texts_.line4(variant, cycles, groups_, gain, prmp_));
}

void RunLines::plan_found(int variant) {
    progress_.show(RunLine::Progress5, texts_.line5(variant));
}

void RunLines::refused(SolverOutcome outcome, const SchemeParameters& parameters, int variant,
                       std::int64_t states) {
    message_ = texts_.message(outcome, parameters, variant, states);
    progress_.show(RunLine::Message, message_);
}

} // namespace kov
