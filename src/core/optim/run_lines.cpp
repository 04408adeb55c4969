#include "optim/run_lines.h"

#include "io/numbers.h"
#include "shell/texts.h"

#include <charconv>

namespace kov {

std::string integer_text(std::int64_t value) {
    char buf[24];
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return std::string(buf, end);
}

std::string RunTexts::start_line(const std::string& time, const std::string& date) const {
    return shell_.text(txt::StartOfSolving) + " " + quoted_code() + ":  " + time + " (" +
           shell_.text(txt::TimeLabel) + ") " + date + " (" + shell_.text(txt::DateLabel) + ").";
}

std::string RunTexts::line1(int variants) const {
    return "1. " + shell_.trimmed(txt::InputRead) + ". " + shell_.text(txt::VariantsNumber) +
           " - " + integer_text(variants) + ".";
}

std::string RunTexts::line2(int variant, std::int64_t states) const {
    return "2. " + shell_.text(txt::StatesNumberedFor) + " " + integer_text(variant) +
           shell_.text(txt::AfterVariantStates) + " " + integer_text(states) + ".";
}

std::string RunTexts::line3(int variant) const {
    return "3. " + shell_.text(txt::TransitionsBuiltFor) + " " + integer_text(variant) +
           shell_.text(txt::AfterVariant) + ".";
}

std::string RunTexts::line4(int variant, int cycles, int groups, double gain, int prmp) const {
    std::string line =
        "4. " + shell_.text(txt::IterationFinishedFor) + " " + integer_text(variant) +
        shell_.text(txt::AfterVariant) + ". " + shell_.text(txt::ConvergenceReached) + "! " +
        shell_.text(txt::IterationCycles) + " - " + integer_text(cycles) + ". " +
        shell_.text(prmp == 1 ? txt::MaximumAbsoluteIncome : txt::MaximumRelativeIncome) + " " +
        integer_text(groups) + " " + shell_.short_trimmed(short_txt::Objects) + " - " +
        format_fixed(gain, 2, decimal_) + " " + shell_.short_trimmed(short_txt::MoneyUnit);
    if (prmp != 1) {
        line += '/';
        line += shell_.short_trimmed(short_txt::TimeUnit);
    }
    return line;
}

std::string RunTexts::line5(int variant) const {
    return "5. " + shell_.text(txt::PlanFoundFor) + " " + integer_text(variant) +
           shell_.text(txt::AfterVariant) + ".";
}

std::string RunTexts::line6(int variants) const {
    return "6. " + shell_.text(txt::SolutionWritten) + " " + quoted_code() + ", " +
           shell_.text(txt::Covering) + " " + integer_text(variants) + " " +
           shell_.text(txt::InvestmentVariants) + ".";
}

std::string RunTexts::end_line(const std::string& duration) const {
    return shell_.text(txt::DurationOfSolving) + " " + quoted_code() + " - " + duration + ".";
}

std::string RunTexts::message(SolverOutcome outcome, const SchemeParameters& p, int variant,
                              std::int64_t states) const {
    const std::string head = shell_.text(txt::MessagePrefix) + " " + quoted_code() + ". ";
    const std::string refused = head + shell_.text(txt::TaskCannotBeSolved) + ". ";
    switch (outcome) {
    case SolverOutcome::OmegaOutOfRange:
        return refused + shell_.text(txt::WrongOmega) + " " + format_fixed(p.omega, 3, decimal_) +
               ".";
    case SolverOutcome::ThresholdOutOfRange:
        return refused + shell_.text(txt::WrongThreshold) + " " +
               format_fixed(p.threshold, 3, decimal_) + " .";
    case SolverOutcome::CheckEveryOutOfRange:
        return refused + shell_.text(txt::WrongCheckEvery) + " " + integer_text(p.check_every) +
               ".";
    case SolverOutcome::MaxCyclesOutOfRange:
        return refused + shell_.text(txt::WrongMaxCycles) + " " + integer_text(p.max_cycles) + ".";
    case SolverOutcome::TooManyStates:
        return refused + shell_.text(txt::PhaseStatesFor) + " " + integer_text(variant) +
               shell_.text(txt::AfterVariantPhaseStates) + " " + integer_text(states) + " (>" +
               integer_text(kMaxPhaseStates) + " " + shell_.text(txt::PhaseStatesWord) + ").";
    case SolverOutcome::IterationLimit:
        return head + shell_.text(txt::OptimisationOf) + " " + integer_text(variant) +
               shell_.text(txt::AfterVariant) + ". " + shell_.text(txt::IterationLimitReached) +
               ".";
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
