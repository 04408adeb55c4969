#include "task/task_files.h"

#include "data_fixtures.h"
#include "file_bytes.h"
#include "io/files.h"
#include "task/ticks.h"
#include "temp_dir.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

using namespace kov;
using fixtures::f64_at;
using fixtures::i32_at;
using fixtures::make_definition;
using fixtures::pstring_at;
using fixtures::put_i32;
using fixtures::refusal;
using fixtures::small_bdon;

namespace {

// The size formulas of the task files.
std::size_t descriptor_formula(const TaskHeader& h, const BdonData& bdon, std::size_t triples) {
    std::size_t variants = 0, income = 0;
    for (std::size_t i = 0; i < bdon.objects.size(); ++i) {
        variants += bdon.variants[i].size();
        for (std::size_t j = 0; j < bdon.variants[i].size(); ++j) {
            income +=
                h.prmp == 1 ? bdon.sale_variants[i][j].size() : bdon.expl_variants[i][j].size();
        }
    }
    return 232 + 16 * std::size_t(h.nsg) + 2 * std::size_t(h.mt) + 2 * bdon.objects.size() +
           2 * variants + 4 * std::size_t(h.mz) + 12 * triples + (h.prok ? 2 * income : 0);
}
std::size_t input_formula(const TaskHeader& h, std::size_t triples) {
    return 232 + 12 * std::size_t(h.nsg) + 4 * std::size_t(h.mz) + 12 * triples + 25 +
           (h.prok ? 8 * std::size_t(h.nsg) : 0);
}
std::size_t triple_count(const std::vector<std::vector<ChoiceTriple>>& groups) {
    std::size_t t = 0;
    for (const auto& g : groups) {
        t += g.size();
    }
    return t;
}

// Type 1, nsg 2, BDON of 3 objects with 1, 0 and 2 modernisation
// variants; objects 1 and 3 chosen with one modernisation variant each.
TaskDefinition two_chosen_objects(const BdonData& bdon) {
    TaskDefinition def = make_definition(bdon, 1, 2);
    def.object_marks = {true, false, true};
    def.variant_marks = {{false, true}, {false}, {false, false, true}};
    return def;
}

} // namespace

TEST(TaskFiles, RecordSizes) {
    static_assert(kTaskHeaderSize == 232 && kInvestmentVariantSize == 16 &&
                  kInvestmentTicksSize == 12);
    static_assert(kChoiceTripleSize == 12 && kTprtabSize == 2);
    const TaskDefinition def = make_definition(small_bdon(), 1, 1);
    EXPECT_EQ(encode_task_header(def.header, CodePage::Cp1252).size(), 232u);
}

TEST(TaskFiles, HeaderOffsetsOfBothFiles) {
    TaskHeader h = make_definition(small_bdon(), 2, 3).header;
    h.name = "Name";
    h.mz = 1;
    h.ogrn = 2;
    h.toc = 2;
    h.delta = 0.25;
    h.faza = 777;
    h.prk = 0;
    const Bytes b = encode_task_header(h, CodePage::Cp1252);
    EXPECT_EQ(pstring_at(b, 0), "TASK01");
    EXPECT_EQ(pstring_at(b, 7), "Name");
    EXPECT_EQ(i32_at(b, 80), 1);
    EXPECT_EQ(i32_at(b, 84), 2);
    EXPECT_EQ(pstring_at(b, 88), "A_123");
    EXPECT_EQ(i32_at(b, 100), h.mt);
    EXPECT_EQ(i32_at(b, 104), 1);
    EXPECT_EQ(i32_at(b, 108), 1);
    EXPECT_EQ(f64_at(b, 112), h.nsd);
    EXPECT_EQ(f64_at(b, 120), 24.0);
    EXPECT_EQ(f64_at(b, 128), 0.9);
    EXPECT_EQ(f64_at(b, 136), 0.5);
    EXPECT_EQ(i32_at(b, 144), 3);
    EXPECT_EQ(i32_at(b, 148), 3);
    EXPECT_EQ(f64_at(b, 152), 12.5);
    EXPECT_EQ(f64_at(b, 160), 1.1);
    EXPECT_EQ(f64_at(b, 168), 10.0);
    EXPECT_EQ(i32_at(b, 176), 2);
    EXPECT_EQ(f64_at(b, 184), 5.0);
    EXPECT_EQ(f64_at(b, 192), 0.3);
    EXPECT_EQ(i32_at(b, 200), 1);
    EXPECT_EQ(i32_at(b, 204), 2);
    EXPECT_EQ(f64_at(b, 208), 0.25);
    EXPECT_EQ(i32_at(b, 216), 777);
    EXPECT_EQ(i32_at(b, 220), 1);
    EXPECT_EQ(i32_at(b, 224), 0);
    for (std::size_t pad :
         {78u, 79u, 97u, 98u, 99u, 180u, 181u, 182u, 183u, 228u, 229u, 230u, 231u}) {
        EXPECT_EQ(b[pad], 0) << pad;
    }
    EXPECT_EQ(decode_task_header(b, "f", CodePage::Cp1252), h);
}

TEST(TaskFiles, SizesOfTheType1TaskWithTwoVariants) {
    const BdonData bdon = small_bdon();
    const TaskFiles f = build_task_files(two_chosen_objects(bdon), bdon);
    const TaskHeader& h = f.descriptor.header;
    ASSERT_EQ(h.mz, 2);
    ASSERT_EQ(h.mt, 3);
    const Bytes d = encode_task_descriptor(f.descriptor, bdon, CodePage::Cp1252);
    const Bytes in = encode_task_input(f.input, bdon, CodePage::Cp1252);
    // The edge case's own sums and the Part's general formula agree.
    EXPECT_EQ(d.size(), 232u + 32 + 2 * 3 + 6 + 12 + 8 + 12 * 4);
    EXPECT_EQ(d.size(), descriptor_formula(h, bdon, 4));
    EXPECT_EQ(in.size(), 232u + 24 + 8 + 48 + 25);
    EXPECT_EQ(in.size(), input_formula(h, 4));
    // A chosen object with one chosen modernisation variant has the count 2; the third field of a
    // real triple is 1 without pay-back.
    const std::vector<std::vector<ChoiceTriple>> groups = {{kNotTaken, {1, 1, 1}},
                                                           {kNotTaken, {3, 2, 1}}};
    EXPECT_EQ(f.descriptor.groups, groups);
    EXPECT_EQ(i32_at(in, 232 + 24), 2);
    EXPECT_EQ(i32_at(in, 232 + 24 + 4), 2);
    // Without pay-back the shell name follows the triples directly.
    EXPECT_EQ(pstring_at(in, 232 + 24 + 8 + 48), "Shell (KOV 1.0).eng");
    // Both files start with the same header bytes.
    EXPECT_TRUE(std::equal(d.begin(), d.begin() + 232, in.begin()));
}

TEST(TaskFiles, RoundTripsOfEveryTypeAreByteExact) {
    for (char type : {'A', 'B'}) {
        const BdonData bdon = small_bdon(type, type == 'A' ? "123" : "123456");
        for (int tipz = 1; tipz <= 4; ++tipz) {
            for (int nsg : {1, 5}) {
                SCOPED_TRACE(std::string(1, type) + " type " + std::to_string(tipz) + " nsg " +
                             std::to_string(nsg));
                TaskDefinition def = make_definition(bdon, tipz, nsg);
                def.header.name = "Задача «" + std::to_string(tipz) + "»";
                const TaskFiles f = build_task_files(def, bdon);
                for (CodePage cp : {CodePage::Cp1251, CodePage::Cp1252}) {
                    if (cp == CodePage::Cp1252) {
                        continue; // the Cyrillic name needs CP1251
                    }
                    const Bytes d = encode_task_descriptor(f.descriptor, bdon, cp);
                    const Bytes in = encode_task_input(f.input, bdon, cp);
                    const std::size_t t = triple_count(f.descriptor.groups);
                    EXPECT_EQ(d.size(), descriptor_formula(f.descriptor.header, bdon, t));
                    EXPECT_EQ(in.size(), input_formula(f.input.header, t));
                    const TaskDescriptor dd =
                        decode_task_descriptor(d, "d", &bdon, DescriptorParts::Full, cp);
                    EXPECT_EQ(dd, f.descriptor);
                    EXPECT_EQ(encode_task_descriptor(dd, bdon, cp), d);
                    const TaskInput ii = decode_task_input(in, "i", bdon, InputParts::Full, cp);
                    EXPECT_EQ(ii, f.input);
                    EXPECT_EQ(encode_task_input(ii, bdon, cp), in);
                    EXPECT_EQ(ii.header.name, def.header.name);
                    // The optimiser's read: header, ticks and groups.
                    const TaskInput solver =
                        decode_task_input(in, "i", bdon, InputParts::Solver, cp);
                    EXPECT_EQ(solver.ticks, f.input.ticks);
                    EXPECT_EQ(solver.groups, f.input.groups);
                    EXPECT_TRUE(solver.payback_series.empty());
                    // The partial reads of the descriptor.
                    const TaskDescriptor corr =
                        decode_task_descriptor(d, "d", nullptr, DescriptorParts::Correction, cp);
                    EXPECT_EQ(corr.variants, f.descriptor.variants);
                    EXPECT_EQ(corr.row_marks, f.descriptor.row_marks);
                    EXPECT_TRUE(corr.object_marks.empty());
                    const TaskDescriptor vars =
                        decode_task_descriptor(d, "d", nullptr, DescriptorParts::Variants, cp);
                    EXPECT_EQ(vars.variants, f.descriptor.variants);
                    EXPECT_TRUE(vars.row_marks.empty());
                }
            }
        }
    }
}

TEST(TaskFiles, PaybackTaskHasIncomeMarksAndTheSeries) {
    const BdonData bdon = small_bdon();
    const TaskFiles f = build_task_files(make_definition(bdon, 2, 3), bdon);
    const TaskHeader& h = f.input.header;
    // The descriptor's income marks: one mark per sale variant of every (object, variant); only
    // those with curves chosen.
    ASSERT_EQ(f.descriptor.income_marks.size(), 3u);
    EXPECT_EQ(f.descriptor.income_marks[0], (std::vector<Marks>{{true}, {true, true}}));
    EXPECT_EQ(f.descriptor.income_marks[1], (std::vector<Marks>{{false}}));
    EXPECT_EQ(f.descriptor.income_marks[2], (std::vector<Marks>{{}, {true}, {true}}));
    // Triples with pay-back name their sale variants.
    EXPECT_EQ(f.descriptor.groups[0],
              (std::vector<ChoiceTriple>{kNotTaken, {1, 0, 1}, {1, 1, 1}, {1, 1, 2}}));
    EXPECT_EQ(f.descriptor.groups[1], (std::vector<ChoiceTriple>{kNotTaken, {3, 1, 1}, {3, 2, 1}}));
    // The series: c_k = tmx - k * step, step = (0.9 - 0.5) / 2.
    ASSERT_EQ(f.input.payback_series.size(), 3u);
    EXPECT_EQ(f.input.payback_series[0], 0.9);
    EXPECT_EQ(f.input.payback_series[1], 0.9 - 1 * ((0.9 - 0.5) / 2));
    EXPECT_EQ(f.input.payback_series[2], 0.9 - 2 * ((0.9 - 0.5) / 2));
    const Bytes in = encode_task_input(f.input, bdon, CodePage::Cp1252);
    const std::size_t series_at = 232 + 3 * 12 + 4 * 2 + 12 * 7;
    EXPECT_EQ(f64_at(in, series_at), 0.9);
    EXPECT_EQ(pstring_at(in, series_at + 24), "Shell (KOV 1.0).eng");
    EXPECT_EQ(h.nt, 3);
}

TEST(Ticks, RoundingOfACapitalOfHalfATick) {
    // V = 1000.5, O = 1000, L = 500, tick 1.
    TaskHeader h;
    h.delta = 1;
    const InvestmentVariant v{1000, 500};
    h.toc = kRoundNearest;
    EXPECT_EQ(investment_ticks(h, v, 1000.5, 0),
              (TickAmounts{1000, 0, 0})); // R(0.5) = 0, half to even
    h.toc = kRoundUp;
    EXPECT_EQ(investment_ticks(h, v, 1000.5, 0), (TickAmounts{1000, 1, 0}));
    h.toc = kRoundDown;
    EXPECT_EQ(investment_ticks(h, v, 1000.5, 0), (TickAmounts{1000, 0, 0}));
}

TEST(Ticks, RoundingRules) {
    EXPECT_EQ(round_to_ticks(2.5, 1, kRoundNearest), 2);
    EXPECT_EQ(round_to_ticks(3.5, 1, kRoundNearest), 4);
    EXPECT_EQ(round_to_ticks(2.4, 1, kRoundNearest), 2);
    EXPECT_EQ(round_to_ticks(2.6, 1, kRoundNearest), 3);
    EXPECT_EQ(round_to_ticks(2.4, 1, kRoundUp), 3);
    EXPECT_EQ(round_to_ticks(2.6, 1, kRoundDown), 2);
    // An exact integer is unchanged by all three.
    for (int toc : {0, 1, 2}) {
        EXPECT_EQ(round_to_ticks(7, 1, toc), 7);
        EXPECT_EQ(round_to_ticks(1000, 0.5, toc), 2000);
        EXPECT_EQ(round_to_ticks(0, 0.01, toc), 0);
    }
    // The mended rule: quotients within 1e-12 relative of an integer or half-integer take it.
    ASSERT_NE(0.3 / 0.1, 3.0);
    EXPECT_EQ(round_to_ticks(0.3, 0.1, kRoundDown), 3);
    EXPECT_EQ(round_to_ticks(1000.1, 0.1, kRoundUp), 10001);
    ASSERT_GT(0.07 / 0.01, 7.0); // 7.000000000000001
    EXPECT_EQ(round_to_ticks(0.07, 0.01, kRoundUp), 7);
    ASSERT_GT(2.1 / 0.7, 3.0);
    EXPECT_EQ(round_to_ticks(2.1, 0.7, kRoundUp), 3);
    EXPECT_EQ(round_to_ticks(1000.1, 0.1, kRoundNearest), 10001);
    EXPECT_EQ(round_to_ticks(0.7, 0.1, kRoundUp), 7);
    EXPECT_EQ(round_to_ticks(0.7, 0.1, kRoundDown), 7);
    // 0.15 / 0.1 is 1.4999999999999998: it is the half 1.5, to even 2, down 1, up 2.
    EXPECT_EQ(round_to_ticks(0.15, 0.1, kRoundNearest), 2);
    EXPECT_EQ(round_to_ticks(0.25, 0.1, kRoundNearest), 2);
    EXPECT_EQ(round_to_ticks(0.15, 0.1, kRoundDown), 1);
    EXPECT_EQ(round_to_ticks(0.15, 0.1, kRoundUp), 2);
    // A quotient further away is rounded as it is.
    EXPECT_EQ(round_to_ticks(3.000001, 1, kRoundUp), 4);
    EXPECT_EQ(round_to_ticks(2.999999, 1, kRoundDown), 2);
    EXPECT_EQ(round_to_ticks(1e300, 1e-6, kRoundUp), std::numeric_limits<std::int64_t>::max());
}

TEST(Ticks, CapitalRequirementAndTheObjectLimit) {
    EXPECT_EQ(capital_requirement({300, 500, 500, 100}, 0), 1400);
    EXPECT_EQ(capital_requirement({300, 500, 500, 100}, 2), 1000);
    EXPECT_EQ(capital_requirement({300, 500, 500, 100}, 1), 500);
    EXPECT_EQ(capital_requirement({300, 500, 500, 100}, 4), 1400); // not below mz: all
    EXPECT_EQ(capital_requirement({300, 500, 500, 100}, 9), 1400);
    EXPECT_EQ(capital_requirement({}, 0), 0);

    // Full cost: object cost + the largest chosen modernisation cost (variant 0 costs 0).
    const BdonData bdon = small_bdon();
    const Marks objects = {true, true, true};
    const std::vector<Marks> variants = {{true, true}, {true}, {false, true, true}};
    EXPECT_EQ(full_costs(bdon, objects, variants),
              (std::vector<double>{1000 + 50, 1100 + 0, 1200 + (100 + 2)}));
    EXPECT_EQ(capital_requirement(bdon, objects, variants, 1), 1302);
    // One object limit of 1 with 2 chosen objects: V is the larger full cost.
    EXPECT_EQ(capital_requirement(bdon, {true, true, false},
                                  {{true, true}, {true}, {false, false, false}}, 1),
              1100);
}

TEST(Ticks, InvestmentTicksAndPaybackAmounts) {
    TaskHeader h;
    h.delta = 1;
    h.toc = kRoundNearest;
    // Own funds cover V: credit 0, however large.
    EXPECT_EQ(investment_ticks(h, {2000, 1e9}, 1500, 0), (TickAmounts{1500, 0, 0}));
    // O + L below V: own R(O), credit R(L).
    EXPECT_EQ(investment_ticks(h, {100, 200}, 1000, 0), (TickAmounts{100, 200, 0}));
    // O + L covers V: credit R(V - O).
    EXPECT_EQ(investment_ticks(h, {100, 2000}, 1000, 0), (TickAmounts{100, 900, 0}));

    // Mode 1 pay-back: R(A x c_k), A = V when O + L >= V, else O + L.
    h.prok = 1;
    h.reg = 1;
    h.nt = 2;
    h.nsg = 2;
    h.tmx = 0.8;
    h.tmn = 0.4;
    EXPECT_EQ(payback_coefficient(h, 0), 0.8);
    EXPECT_EQ(payback_coefficient(h, 1), 0.4);
    EXPECT_EQ(investment_ticks(h, {500, 1000}, 1000, 0).payback, 800);
    EXPECT_EQ(investment_ticks(h, {500, 1000}, 1000, 1).payback, 400);
    EXPECT_EQ(investment_ticks(h, {300, 200}, 1000, 0).payback, 400); // A = 500
    EXPECT_EQ(payback_series(h), (std::vector<double>{0.8, 0.4}));
    h.nt = 1;
    EXPECT_EQ(payback_step(h), 0.0);

    // Mode 2: the same amount for every variant.
    h.reg = 2;
    h.nsd = 100;
    h.ps = 10;
    h.nt = 3;
    h.tmx = 12;
    h.tmn = 6;
    EXPECT_DOUBLE_EQ(payback_amount(h, {1000, 0}, 800, 0), 100 + 800); // V <= O
    EXPECT_DOUBLE_EQ(payback_amount(h, {500, 1000}, 800, 1),
                     100 + 800 + 300 * 10.0 / 100); // O < V <= O + L
    EXPECT_DOUBLE_EQ(payback_amount(h, {500, 200}, 800, 2),
                     100 + 500 + (1 + 10.0 / 100) * 200); // V > O + L
    EXPECT_EQ(investment_ticks(h, {500, 200}, 800, 2).payback, 820);
    EXPECT_EQ(payback_horizon(h, 0), 6.0);
    EXPECT_EQ(payback_horizon(h, 2), 12.0);
    EXPECT_EQ(payback_series(h)[0], 12.0); // a mode-2 input file's pay-back series starts with tmx
}

TEST(TaskFiles, FullReadIsCheckedAgainstTheDatabaseAsItIsNow) {
    const BdonData bdon = small_bdon();
    const TaskFiles f = build_task_files(make_definition(bdon, 1, 2), bdon);
    const Bytes d = encode_task_descriptor(f.descriptor, bdon, CodePage::Cp1252);
    const Bytes in = encode_task_input(f.input, bdon, CodePage::Cp1252);

    // Another object added to the database: the listed objects differ.
    BdonData more = fixtures::make_bdon('A', "123",
                                        {{{{4}, {0}}, {{3, 2}, {5}}},
                                         {{{0}, {}}},
                                         {{{}, {2}}, {{2}, {3, 4}}, {{10}, {}}},
                                         {{{2}, {}}}});
    more.path = "Dbor/A_123_dbor_eng.dat";
    std::string why = refusal([&] {
        decode_task_descriptor(d, "Data/kov_TASK01.dat", &more, DescriptorParts::Full,
                               CodePage::Cp1252);
    });
    EXPECT_NE(why.find("Data/kov_TASK01.dat"), std::string::npos) << why;
    EXPECT_NE(why.find("Dbor/A_123_dbor_eng.dat"), std::string::npos) << why;

    // Object 3's variant 2 lost its sale variant: the triple (3, 2, 1) of the input file is
    // refused.
    BdonData fewer = fixtures::make_bdon(
        'A', "123",
        {{{{4}, {0}}, {{3, 2}, {5}}}, {{{0}, {}}}, {{{}, {2}}, {{2}, {3, 4}}, {{}, {3}}}});
    fewer.path = "Dbor/A_123_dbor_eng.dat";
    why = refusal([&] {
        decode_task_input(in, "Solving/kov_TASK01_in.dat", fewer, InputParts::Solver,
                          CodePage::Cp1252);
    });
    EXPECT_NE(why.find("(3, 2, 1)"), std::string::npos) << why;
    EXPECT_NE(why.find("Solving/kov_TASK01_in.dat"), std::string::npos) << why;
    EXPECT_NE(why.find("Dbor/A_123_dbor_eng.dat"), std::string::npos) << why;

    // Object 3 has one modernisation variant fewer.
    BdonData shorter = fixtures::make_bdon(
        'A', "123", {{{{4}, {0}}, {{3, 2}, {5}}}, {{{0}, {}}}, {{{}, {2}}, {{2}, {3, 4}}}});
    why = refusal([&] { decode_task_input(in, "i", shorter, InputParts::Full, CodePage::Cp1252); });
    EXPECT_NE(why.find("no modernisation variant 2"), std::string::npos) << why;
    refusal(
        [&] { decode_task_descriptor(d, "d", &shorter, DescriptorParts::Full, CodePage::Cp1252); });

    // Fewer objects than a triple names.
    BdonData two = fixtures::make_bdon('A', "123", {{{{4}, {0}}, {{3, 2}, {5}}}, {{{0}, {}}}});
    why = refusal([&] { decode_task_input(in, "i", two, InputParts::Full, CodePage::Cp1252); });
    EXPECT_NE(why.find("only 2 objects"), std::string::npos) << why;

    // Another database.
    const BdonData other = small_bdon('A', "124");
    why = refusal([&] { decode_task_input(in, "i", other, InputParts::Full, CodePage::Cp1252); });
    EXPECT_NE(why.find("A_124"), std::string::npos) << why;
    refusal(
        [&] { decode_task_descriptor(d, "d", &other, DescriptorParts::Full, CodePage::Cp1252); });
}

TEST(TaskFiles, ReadersRefuseBadCountsMarksAndTriples) {
    const BdonData bdon = small_bdon();
    const TaskFiles f = build_task_files(make_definition(bdon, 2, 2), bdon);
    const Bytes d = encode_task_descriptor(f.descriptor, bdon, CodePage::Cp1252);
    const Bytes in = encode_task_input(f.input, bdon, CodePage::Cp1252);
    auto full = [&](const Bytes& b) {
        decode_task_descriptor(b, "d", &bdon, DescriptorParts::Full, CodePage::Cp1252);
    };
    auto input = [&](const Bytes& b) {
        decode_task_input(b, "i", bdon, InputParts::Full, CodePage::Cp1252);
    };
    auto patched = [](Bytes b, std::size_t at, std::int32_t v) {
        put_i32(b, at, v);
        return b;
    };
    const std::pair<std::size_t, std::int32_t> header_cases[] = {{148, 0},
                                                                 {148, 11},
                                                                 {148, 3} /* nt differs */,
                                                                 {84, 5},
                                                                 {84, 1} /* prok differs */,
                                                                 {80, 2},
                                                                 {104, 2},
                                                                 {108, 0},
                                                                 {100, 1001},
                                                                 {100, -1},
                                                                 {200, 3} /* mz > mt */,
                                                                 {200, -1},
                                                                 {144, 6},
                                                                 {176, 11},
                                                                 {204, 3},
                                                                 {204, -1}};
    for (const auto& c : header_cases) {
        const std::size_t at = c.first;
        const std::int32_t v = c.second;
        SCOPED_TRACE(std::to_string(at) + " := " + std::to_string(v));
        const std::string why = refusal([&] { full(patched(d, at, v)); });
        EXPECT_NE(why.find("the task header"), std::string::npos) << why;
        refusal([&] { input(patched(in, at, v)); });
        refusal([&] { decode_task_header(patched(d, at, v), "h", CodePage::Cp1252); });
    }
    Bytes lower = d;
    lower[1] = 't';
    refusal([&] { full(lower); });
    Bytes slash = d;
    slash[88 + 3] = '/';
    refusal([&] { full(slash); });
    Bytes zero_tick = d;
    for (int k = 0; k < 8; ++k) {
        zero_tick[208 + std::size_t(k)] = 0;
    }
    refusal([&] { full(zero_tick); });

    // A mark that is neither "*" nor empty.
    const std::size_t marks = 232 + 2 * 16;
    Bytes mark = d;
    mark[marks + 1] = 'x';
    EXPECT_NE(refusal([&] { full(mark); }).find("neither \"*\" nor empty"), std::string::npos);
    mark = d;
    mark[marks] = 2;
    refusal([&] { full(mark); });
    // An object mark removed: mz no longer matches.
    const std::size_t object_marks = marks + 2 * std::size_t(f.descriptor.header.mt);
    Bytes unmarked = d;
    unmarked[object_marks] = 0;
    EXPECT_NE(refusal([&] { full(unmarked); }).find("object marks"), std::string::npos);

    // Group sizes and triples of the input file.
    const std::size_t sizes = 232 + 2 * 12;
    refusal([&] { input(patched(in, sizes, 0)); });
    refusal([&] { input(patched(in, sizes, 32)); });
    refusal([&] { input(patched(in, sizes, 0x7fffffff)); });
    const std::size_t triples = sizes + 4 * 2;
    EXPECT_NE(refusal([&] { input(patched(in, triples, 1)); }).find("not (-1, -1, -1)"),
              std::string::npos);
    EXPECT_NE(refusal([&] { input(patched(in, triples + 24, 3)); }).find("more than one object"),
              std::string::npos);
    refusal([&] { input(patched(in, triples + 12 + 4, 9)); });
    refusal([&] { input(patched(in, triples + 12 + 8, 0)); });
    refusal([&] {
        input(patched(in, triples + 12 + 8, 2));
    }); // object 1 variant 0 has one sale variant
    // Ticks.
    refusal([&] { input(patched(in, 232, -1)); });
    // Truncated and longer files.
    refusal([&] { input(Bytes(in.begin(), in.end() - 1)); });
    Bytes longer = in;
    longer.push_back(0);
    refusal([&] { input(longer); });
    refusal([&] { full(Bytes(d.begin(), d.end() - 1)); });
    longer = d;
    longer.push_back(0);
    refusal([&] { full(longer); });
    // The partial reads ignore what follows their parts, and refuse a file too short for them.
    EXPECT_NO_THROW(decode_task_descriptor(longer, "d", nullptr, DescriptorParts::Correction,
                                           CodePage::Cp1252));
    refusal([&] {
        decode_task_descriptor(Bytes(d.begin(), d.begin() + 232 + 32 + 1), "d", nullptr,
                               DescriptorParts::Correction, CodePage::Cp1252);
    });
    EXPECT_NO_THROW(decode_task_descriptor(Bytes(d.begin(), d.begin() + 232 + 32), "d", nullptr,
                                           DescriptorParts::Variants, CodePage::Cp1252));
    EXPECT_NO_THROW(decode_task_input(Bytes(in.begin(), in.end() - 25 - 16), "i", bdon,
                                      InputParts::Solver, CodePage::Cp1252));
}

TEST(TaskFiles, WritersRefuseWhatTheReadersWouldRefuse) {
    const BdonData bdon = small_bdon();
    TaskFiles f = build_task_files(make_definition(bdon, 1, 2), bdon);
    TaskDescriptor d = f.descriptor;
    d.variants.pop_back();
    EXPECT_THROW(encode_task_descriptor(d, bdon, CodePage::Cp1252), std::invalid_argument);
    d = f.descriptor;
    d.groups[0][1].modernisation = 7;
    EXPECT_THROW(encode_task_descriptor(d, bdon, CodePage::Cp1252), std::invalid_argument);
    TaskInput in = f.input;
    in.header.nsg = 11;
    EXPECT_THROW(encode_task_input(in, bdon, CodePage::Cp1252), std::invalid_argument);
    in = f.input;
    in.ticks[0].credit = -1;
    EXPECT_THROW(encode_task_input(in, bdon, CodePage::Cp1252), std::invalid_argument);
    TaskHeader h = f.input.header;
    h.shifr = "../../x";
    EXPECT_THROW(encode_task_header(h, CodePage::Cp1252), std::invalid_argument);
    EXPECT_THROW(task_file_path("/ws", "Data", "../etc", ""), std::invalid_argument);
    EXPECT_EQ(task_file_path("/ws", "Solving", "ABC123", "_out"), "/ws/Solving/kov_ABC123_out.dat");
    EXPECT_EQ(task_bdon_base("/ws", h, "eng"), "/ws/Dbor/A_123_dbor_eng");
}

TEST(TaskFiles, BothFilesAreWrittenAsAPair) {
    TempWorkspace ws;
    const BdonData bdon = small_bdon();
    const TaskFiles f = build_task_files(make_definition(bdon, 4, 2), bdon);
    write_task_files(ws.path(), f.descriptor, f.input, bdon, CodePage::Cp1252);
    const std::string dp = ws / "Data/kov_TASK01.dat";
    const std::string ip = ws / "Data/kov_TASK01_in.dat";
    EXPECT_EQ(read_file(dp), encode_task_descriptor(f.descriptor, bdon, CodePage::Cp1252));
    EXPECT_EQ(read_file(ip), encode_task_input(f.input, bdon, CodePage::Cp1252));
    EXPECT_EQ(read_task_header(dp, CodePage::Cp1252), f.descriptor.header);
    EXPECT_EQ(read_task_descriptor(dp, bdon, CodePage::Cp1252), f.descriptor);
    EXPECT_EQ(read_task_for_correction(dp, CodePage::Cp1252).row_marks, f.descriptor.row_marks);
    EXPECT_EQ(read_task_variants(dp, CodePage::Cp1252).variants, f.descriptor.variants);
    EXPECT_EQ(read_task_input(ip, bdon, CodePage::Cp1252), f.input);
    EXPECT_EQ(read_solver_input(ip, bdon, CodePage::Cp1252).groups, f.input.groups);

    // Data the writers refuse leaves both old files.
    const Bytes old_d = read_file(dp), old_i = read_file(ip);
    TaskInput bad = f.input;
    bad.groups[0][0] = {1, 1, 1};
    TaskDescriptor changed = f.descriptor;
    changed.header.name = "changed";
    bad.header.name = "changed";
    EXPECT_THROW(write_task_files(ws.path(), changed, bad, bdon, CodePage::Cp1252),
                 std::invalid_argument);
    EXPECT_EQ(read_file(dp), old_d);
    EXPECT_EQ(read_file(ip), old_i);
    // A failing write leaves both old files and no temporary.
    std::filesystem::remove(dp);
    std::filesystem::create_directories(dp + "/blocked");
    TaskInput good = f.input;
    good.header.name = "changed";
    EXPECT_THROW(write_task_files(ws.path(), changed, good, bdon, CodePage::Cp1252), FileError);
    EXPECT_EQ(read_file(ip), old_i);
    EXPECT_EQ(find_files(ws / "Data", "*.tmp-*").size(), 0u);
    // Headers that differ are refused.
    EXPECT_THROW(write_task_files(ws.path(), f.descriptor, good, bdon, CodePage::Cp1252),
                 std::invalid_argument);
}

TEST(TaskFiles, AmountsThatAreNotFiniteAreRefused) {
    const BdonData bdon = fixtures::small_bdon();
    const TaskDefinition def = make_definition(bdon, 2, 1);
    const Bytes good =
        encode_task_descriptor(build_task_files(def, bdon).descriptor, bdon, CodePage::Cp1252);
    const struct {
        const char* what;
        std::size_t offset;
        double value;
    } cases[] = {{"credit interest ps", 152, std::nan("")},
                 {"pay-back term soi", 120, HUGE_VAL},
                 {"required income nsd", 112, -HUGE_VAL},
                 {"own funds of variant 1", 232, std::nan("")},
                 {"credit of variant 1", 240, HUGE_VAL}};
    for (const auto& c : cases) {
        Bytes bad = good;
        std::memcpy(bad.data() + c.offset, &c.value, 8);
        try {
            decode_task_descriptor(bad, "Data/kov_TASK01.dat", nullptr, DescriptorParts::Variants,
                                   CodePage::Cp1252);
            ADD_FAILURE() << c.what << " is taken";
        } catch (const FileError& e) {
            EXPECT_EQ(e.file(), "Data/kov_TASK01.dat") << c.what;
            EXPECT_NE(e.detail().find("not a finite number"), std::string::npos) << e.detail();
        }
    }
}
