#include "optim/solution_file.h"

#include "data_fixtures.h"
#include "file_bytes.h"
#include "io/files.h"
#include "temp_dir.h"

#include <bit>

#include <gtest/gtest.h>

using namespace kov;
using fixtures::f64_at;
using fixtures::i32_at;
using fixtures::make_definition;
using fixtures::make_solution;
using fixtures::pstring_at;
using fixtures::put_i32;
using fixtures::refusal;
using fixtures::small_bdon;

namespace {

struct Task {
    BdonData bdon = small_bdon();
    TaskFiles files;
    explicit Task(int tipz, int nsg)
        : files(build_task_files(make_definition(bdon, tipz, nsg), bdon)) {}
    const TaskHeader& header() const { return files.input.header; }
};

} // namespace

TEST(SolutionFile, TaskWithoutGroupsIs464BytesWithResultFlag1) {
    static_assert(kSolutionHeaderSize == 464);
    Solution s;
    s.header.result = 1;
    s.header.message = std::string(255, ' ');
    const Bytes b = encode_solution(s, CodePage::Cp1252);
    EXPECT_EQ(b.size(), 464u);
    EXPECT_EQ(i32_at(b, 428), 1);
    const Task t(1, 2);
    TaskHeader h = t.header();
    h.mz = 0;
    EXPECT_EQ(solution_file_size(h.nsg, 0), 464u);
    const Solution back =
        decode_solution(b, "f", h, &t.bdon, nullptr, SolutionParts::Full, CodePage::Cp1252);
    EXPECT_EQ(back, s);
}

TEST(SolutionFile, TwoVariantsAndThreeGroupsAre544Bytes) {
    const Task t(1, 2);
    ASSERT_EQ(t.header().mz, 3);
    const Solution s = make_solution(t.files.input);
    const Bytes b = encode_solution(s, CodePage::Cp1252);
    EXPECT_EQ(b.size(), 464u + 8 + 72);
    EXPECT_EQ(b.size(), solution_file_size(2, 3));
    // Layout: cycle counts at 464, then each variant's three records.
    EXPECT_EQ(i32_at(b, 464), 10);
    EXPECT_EQ(i32_at(b, 468), 11);
    EXPECT_EQ(i32_at(b, 472), s.plans[0][0].object);
    EXPECT_EQ(i32_at(b, 472 + 36 + 24 + 8), s.plans[1][2].income);
    const Solution back = decode_solution(b, "f", t.header(), &t.bdon, &t.files.input.groups,
                                          SolutionParts::Full, CodePage::Cp1252);
    EXPECT_EQ(back, s);
    EXPECT_EQ(encode_solution(back, CodePage::Cp1252), b);
}

TEST(SolutionFile, HeaderLayoutAndCuts) {
    Solution s;
    s.header.info1 = std::string(50, 'a');
    s.header.info2 = "Информация";
    s.header.info3 = "x";
    s.header.duration = "01:02:03";
    s.header.message = std::string(300, 'm');
    s.header.kr = 7;
    s.header.lchi = 999;
    s.header.result = 0;
    s.header.end_time = 0.75;
    s.header.end_date = 45123;
    s.header.okr = 0.3;
    s.header.ko = 0.001;
    const Bytes b = encode_solution(s, CodePage::Cp1251);
    ASSERT_EQ(b.size(), 464u);
    EXPECT_EQ(b[0], 40);
    EXPECT_EQ(b[41], 10);
    EXPECT_EQ(b[82], 1);
    EXPECT_EQ(b[123], 8);
    EXPECT_EQ(b[164], 255);
    EXPECT_EQ(i32_at(b, 420), 7);
    EXPECT_EQ(i32_at(b, 424), 999);
    EXPECT_EQ(i32_at(b, 428), 0);
    EXPECT_EQ(f64_at(b, 432), 0.75);
    EXPECT_EQ(f64_at(b, 440), 45123.0);
    EXPECT_EQ(f64_at(b, 448), 0.3);
    EXPECT_EQ(f64_at(b, 456), 0.001);
    const SolutionHeader h = decode_solution(b, "f", TaskHeader{}, nullptr, nullptr,
                                             SolutionParts::Header, CodePage::Cp1251)
                                 .header;
    EXPECT_EQ(h.info1, std::string(40, 'a'));
    EXPECT_EQ(h.info2, "Информация");
    EXPECT_EQ(h.message, std::string(255, 'm'));
}

TEST(SolutionFile, StoppedRunHasEmptyRecords) {
    const Task t(1, 2);
    Solution s = make_solution(t.files.input);
    s.header.result = 0;
    s.cycles = {0, 0};
    s.plans = {{kNotSolved, kNotSolved, kNotSolved}, {kNotSolved, kNotSolved, kNotSolved}};
    const Bytes b = encode_solution(s, CodePage::Cp1252);
    EXPECT_EQ(decode_solution(b, "f", t.header(), &t.bdon, &t.files.input.groups,
                              SolutionParts::Full, CodePage::Cp1252),
              s);
    // (-1, -2, -3) in every record is a variant that invests in nothing.
    s.plans[1] = {kInvestNothing, kInvestNothing, kInvestNothing};
    EXPECT_NO_THROW(decode_solution(encode_solution(s, CodePage::Cp1252), "f", t.header(), &t.bdon,
                                    nullptr, SolutionParts::Full, CodePage::Cp1252));
}

TEST(SolutionFile, ReaderRefusesFilesOfOtherSolutionsAndBadRecords) {
    const Task t(1, 2);
    const Solution s = make_solution(t.files.input);
    const Bytes b = encode_solution(s, CodePage::Cp1252);
    auto full = [&](const Bytes& data, const TaskHeader& h) {
        decode_solution(data, "Data/kov_TASK01_out.dat", h, &t.bdon, &t.files.input.groups,
                        SolutionParts::Full, CodePage::Cp1252);
    };
    // A file left from an earlier solution with fewer variants (or groups) is refused.
    TaskHeader more = t.header();
    more.nsg = 3;
    const std::string why = refusal([&] { full(b, more); });
    EXPECT_NE(why.find("Data/kov_TASK01_out.dat"), std::string::npos) << why;
    EXPECT_NE(why.find("calls for 584"), std::string::npos) << why;
    refusal([&] { full(Bytes(b.begin(), b.end() - 1), t.header()); });
    Bytes longer = b;
    longer.push_back(0);
    refusal([&] { full(longer, t.header()); });
    refusal([&] { full(Bytes(b.begin(), b.begin() + 464), t.header()); });
    refusal([&] { full(Bytes(b.begin(), b.begin() + 100), t.header()); });

    auto patched = [&](std::size_t at, std::int32_t v) {
        Bytes c = b;
        put_i32(c, at, v);
        return c;
    };
    refusal([&] { full(patched(428, 2), t.header()); });  // result flag
    refusal([&] { full(patched(464, -1), t.header()); }); // cycle count
    const std::size_t rec = 472;
    EXPECT_NE(refusal([&] { full(patched(rec, 9), t.header()); }).find("has no object 9"),
              std::string::npos);
    refusal([&] { full(patched(rec + 4, 6), t.header()); });
    refusal([&] { full(patched(rec + 8, 9), t.header()); });
    refusal([&] { full(patched(rec, 0), t.header()); }); // (0, x, y) mixed
    // A real record that is not an alternative of its group: object 3 in group 1.
    Bytes swapped = b;
    put_i32(swapped, rec, 3);
    put_i32(swapped, rec + 4, 1);
    put_i32(swapped, rec + 8, 1);
    EXPECT_NE(refusal([&] { full(swapped, t.header()); }).find("alternatives of group 1"),
              std::string::npos);
    // Without the groups the same record is only checked against the database.
    EXPECT_NO_THROW(decode_solution(swapped, "f", t.header(), &t.bdon, nullptr, SolutionParts::Full,
                                    CodePage::Cp1252));
    // (0, 0, 0) mixed with real records.
    Solution mixed = s;
    mixed.plans[0][1] = kNotSolved;
    refusal([&] { full(encode_solution(mixed, CodePage::Cp1252), t.header()); });
    mixed = s;
    mixed.plans[0][1] = kInvestNothing;
    refusal([&] { full(encode_solution(mixed, CodePage::Cp1252), t.header()); });
}

TEST(SolutionFile, CorrectionReadsTheFirstPlanAndMarksTheTakenObjects) {
    TempWorkspace ws;
    Task t(1, 1);
    TaskInput in = t.files.input;
    Solution s = make_solution(in);
    s.plans[0] = {{1, 1, 1}, kNotTaken, {3, 2, 1}};
    const std::string path = ws / "Data/kov_TASK01_out.dat";
    write_solution(path, s, CodePage::Cp1252);
    const Solution first = read_solution_first_plan(path, t.header(), t.bdon, CodePage::Cp1252);
    EXPECT_EQ(first.cycles, std::vector<std::int32_t>{10});
    ASSERT_EQ(first.plans.size(), 1u);
    EXPECT_EQ(first.plans[0], s.plans[0]);
    EXPECT_EQ(read_solution_header(path, CodePage::Cp1252), s.header);
    EXPECT_EQ(read_solution(path, t.header(), t.bdon, &in.groups, CodePage::Cp1252), s);

    BdonData bdon = t.bdon;
    EXPECT_TRUE(mark_taken_objects_absent(first, bdon));
    EXPECT_EQ(bdon.objects[0].absence, "*");
    EXPECT_EQ(bdon.objects[1].absence, "");
    EXPECT_EQ(bdon.objects[2].absence, "*");
    // An unsuccessful run changes nothing.
    Solution failed = first;
    failed.header.result = 0;
    BdonData untouched = t.bdon;
    EXPECT_FALSE(mark_taken_objects_absent(failed, untouched));
    EXPECT_TRUE(untouched.same_content(t.bdon));

    // A database that lost object 3 since: the correction read refuses the solution.
    const BdonData two =
        fixtures::make_bdon('A', "123", {{{{4}, {0}}, {{3, 2}, {5}}}, {{{0}, {}}}});
    refusal([&] { read_solution_first_plan(path, t.header(), two, CodePage::Cp1252); });
}

TEST(SolutionFile, WriterRefusesPlansThatDoNotMatch) {
    Solution s;
    s.cycles = {1, 2};
    s.plans = {{kNotTaken}};
    EXPECT_THROW(encode_solution(s, CodePage::Cp1252), std::invalid_argument);
    s.plans = {{kNotTaken}, {kNotTaken, kNotTaken}};
    EXPECT_THROW(encode_solution(s, CodePage::Cp1252), std::invalid_argument);
    s.cycles.clear();
    EXPECT_THROW(encode_solution(s, CodePage::Cp1252), std::invalid_argument);
}
