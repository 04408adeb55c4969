// Every reader of the data files is fed thousands of truncations and byte mutations of valid
// files (deterministic seed). Each must end in a valid read or a clean FileError: no other
// exception, no crash, no sanitizer report, no huge allocation. A file a reader accepts must be
// writable again, and reading what was written gives the same image.

#include "data_fixtures.h"
#include "io/error.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <random>

#include <gtest/gtest.h>

using namespace kov;

namespace {

// Decodes an image and, when the reader has a writer, encodes the result again (empty otherwise).
using Reader = std::function<Bytes(std::span<const std::uint8_t>)>;

struct Outcome {
    int accepted = 0;
    int refused = 0;
};

constexpr std::int32_t kInteresting[] = {0,
                                         1,
                                         -1,
                                         2,
                                         3,
                                         5,
                                         6,
                                         9,
                                         10,
                                         11,
                                         31,
                                         32,
                                         100,
                                         255,
                                         1000,
                                         1001,
                                         100000,
                                         100001,
                                         0x10000,
                                         std::numeric_limits<std::int32_t>::max(),
                                         std::numeric_limits<std::int32_t>::min()};

Bytes mutate(const Bytes& valid, std::mt19937& rng) {
    Bytes b = valid;
    auto pick = [&](std::size_t n) { return std::size_t(rng() % std::max<std::size_t>(n, 1)); };
    switch (rng() % 6) {
    case 0: { // a few random bytes
        const int n = 1 + int(rng() % 8);
        for (int k = 0; k < n && !b.empty(); ++k) {
            b[pick(b.size())] = std::uint8_t(rng());
        }
        break;
    }
    case 1: { // an interesting 32-bit value anywhere
        if (b.size() >= 4) {
            const std::size_t at = pick(b.size() - 3);
            const std::int32_t v = kInteresting[pick(std::size(kInteresting))];
            for (int k = 0; k < 4; ++k) {
                b[at + std::size_t(k)] = std::uint8_t(std::uint32_t(v) >> (8 * k));
            }
        }
        break;
    }
    case 2: { // an interesting value at a 4-byte aligned offset (most counts are aligned)
        if (b.size() >= 4) {
            const std::size_t at = pick(b.size() / 4) * 4;
            const std::int32_t v = kInteresting[pick(std::size(kInteresting))];
            for (int k = 0; k < 4 && at + std::size_t(k) < b.size(); ++k) {
                b[at + std::size_t(k)] = std::uint8_t(std::uint32_t(v) >> (8 * k));
            }
        }
        break;
    }
    case 3: { // remove a run of bytes
        if (!b.empty()) {
            const std::size_t at = pick(b.size());
            const std::size_t n = std::min(b.size() - at, 1 + pick(32));
            b.erase(b.begin() + long(at), b.begin() + long(at + n));
        }
        break;
    }
    case 4: { // insert a run of bytes
        const std::size_t at = pick(b.size() + 1);
        const std::size_t n = 1 + pick(32);
        Bytes run(n);
        for (auto& x : run) {
            x = std::uint8_t(rng());
        }
        b.insert(b.begin() + long(at), run.begin(), run.end());
        break;
    }
    default: { // a random truncation plus a flipped bit
        b.resize(pick(b.size() + 1));
        if (!b.empty()) {
            b[pick(b.size())] ^= std::uint8_t(1u << (rng() % 8));
        }
        break;
    }
    }
    return b;
}

void feed(const Bytes& data, const Reader& read, Outcome& outcome) {
    Bytes again;
    try {
        again = read(data);
    } catch (const FileError& e) {
        ++outcome.refused;
        EXPECT_EQ(e.kind(), FileError::Kind::Format) << e.what();
        return;
    } catch (const std::exception& e) {
        ADD_FAILURE() << "not a FileError: " << e.what();
        return;
    }
    ++outcome.accepted;
    if (!again.empty()) {
        try {
            EXPECT_EQ(read(again), again) << "reading a rewritten image changed it";
        } catch (const std::exception& e) {
            ADD_FAILURE() << "a rewritten image was refused: " << e.what();
        }
    }
}

// Every truncation (or, for long files, a sample of them) and `mutations` mutations.
Outcome torture(const std::vector<Bytes>& valid, const Reader& read, int mutations, unsigned seed) {
    Outcome outcome;
    std::mt19937 rng(seed);
    for (const Bytes& v : valid) {
        feed(v, read, outcome);
        const std::size_t step = std::max<std::size_t>(1, v.size() / 1500);
        for (std::size_t n = 0; n < v.size(); n += step) {
            feed(Bytes(v.begin(), v.begin() + long(n)), read, outcome);
        }
    }
    for (int k = 0; k < mutations; ++k) {
        feed(mutate(valid[std::size_t(k) % valid.size()], rng), read, outcome);
    }
    return outcome;
}

constexpr int kMutations = 4000;

struct Tasks {
    BdonData bdon = fixtures::small_bdon();
    std::vector<TaskFiles> files;
    Tasks() {
        for (int tipz = 1; tipz <= 4; ++tipz) {
            files.push_back(
                build_task_files(fixtures::make_definition(bdon, tipz, tipz % 2 ? 3 : 2), bdon));
        }
    }
};

} // namespace

TEST(Robustness, Bdon) {
    BdonData rus =
        fixtures::make_bdon('B', "000001", {{{{2, 3}, {}}, {{}, {4}}}}, "Русская база", "rus");
    rus.objects[0].description = "Дом";
    std::vector<Bytes> valid = {encode_bdon(fixtures::small_bdon(), CodePage::Cp1252),
                                encode_bdon(fixtures::small_bdon('B', "123456"), CodePage::Cp1252),
                                encode_bdon(rus, CodePage::Cp1251)};
    const Outcome full = torture(
        valid,
        [](std::span<const std::uint8_t> b) {
            return encode_bdon(decode_bdon(b, "bdon", CodePage::Cp1251), CodePage::Cp1251);
        },
        kMutations, 1);
    EXPECT_GT(full.accepted, 3);
    EXPECT_GT(full.refused, 1000);
    const Outcome header = torture(
        valid,
        [](std::span<const std::uint8_t> b) {
            decode_dbor_header(b, "bdon", CodePage::Cp1252);
            return Bytes{};
        },
        kMutations, 2);
    EXPECT_GT(header.accepted, 100);
}

TEST(Robustness, TaskFiles) {
    const Tasks t;
    std::vector<Bytes> descriptors, inputs;
    for (const auto& f : t.files) {
        descriptors.push_back(encode_task_descriptor(f.descriptor, t.bdon, CodePage::Cp1252));
        inputs.push_back(encode_task_input(f.input, t.bdon, CodePage::Cp1252));
    }
    const BdonData& bdon = t.bdon;
    const Outcome full = torture(
        descriptors,
        [&](std::span<const std::uint8_t> b) {
            return encode_task_descriptor(
                decode_task_descriptor(b, "d", &bdon, DescriptorParts::Full, CodePage::Cp1252),
                bdon, CodePage::Cp1252);
        },
        kMutations, 3);
    EXPECT_GT(full.refused, 1000);
    for (DescriptorParts parts : {DescriptorParts::Correction, DescriptorParts::Variants}) {
        torture(
            descriptors,
            [&](std::span<const std::uint8_t> b) {
                decode_task_descriptor(b, "d", nullptr, parts, CodePage::Cp1252);
                return Bytes{};
            },
            kMutations, 4);
    }
    torture(
        descriptors,
        [&](std::span<const std::uint8_t> b) {
            return encode_task_header(decode_task_header(b, "d", CodePage::Cp1252),
                                      CodePage::Cp1252);
        },
        kMutations, 5);
    const Outcome in = torture(
        inputs,
        [&](std::span<const std::uint8_t> b) {
            return encode_task_input(
                decode_task_input(b, "i", bdon, InputParts::Full, CodePage::Cp1252), bdon,
                CodePage::Cp1252);
        },
        kMutations, 6);
    EXPECT_GT(in.refused, 1000);
    torture(
        inputs,
        [&](std::span<const std::uint8_t> b) {
            decode_task_input(b, "i", bdon, InputParts::Solver, CodePage::Cp1252);
            return Bytes{};
        },
        kMutations, 7);
}

TEST(Robustness, SolutionFile) {
    const Tasks t;
    for (const auto& f : t.files) {
        const TaskHeader& h = f.input.header;
        Solution stopped = fixtures::make_solution(f.input);
        stopped.header.result = 0;
        for (auto& p : stopped.plans) {
            std::fill(p.begin(), p.end(), kNotSolved);
        }
        const std::vector<Bytes> valid = {
            encode_solution(fixtures::make_solution(f.input), CodePage::Cp1252),
            encode_solution(stopped, CodePage::Cp1252)};
        const auto* groups = &f.input.groups;
        const Outcome full = torture(
            valid,
            [&](std::span<const std::uint8_t> b) {
                return encode_solution(decode_solution(b, "s", h, &t.bdon, groups,
                                                       SolutionParts::Full, CodePage::Cp1252),
                                       CodePage::Cp1252);
            },
            kMutations / 2, 8);
        EXPECT_GT(full.refused, 500);
        torture(
            valid,
            [&](std::span<const std::uint8_t> b) {
                decode_solution(b, "s", h, &t.bdon, nullptr, SolutionParts::FirstPlan,
                                CodePage::Cp1252);
                return Bytes{};
            },
            kMutations / 4, 9);
        torture(
            valid,
            [&](std::span<const std::uint8_t> b) {
                decode_solution(b, "s", h, nullptr, nullptr, SolutionParts::Header,
                                CodePage::Cp1252);
                return Bytes{};
            },
            kMutations / 4, 10);
    }
}

TEST(Robustness, StatFile) {
    std::vector<Bytes> valid;
    for (int nsg : {1, 3, 10}) {
        valid.push_back(encode_stat_file(fixtures::make_stat_file(nsg), CodePage::Cp1252));
    }
    for (std::int32_t nsg : {1, 3, 10}) {
        const Outcome o = torture(
            valid,
            [&](std::span<const std::uint8_t> b) {
                return encode_stat_file(decode_stat_file(b, "st", nsg, CodePage::Cp1252),
                                        CodePage::Cp1252);
            },
            kMutations / 2, 11 + unsigned(nsg));
        EXPECT_GT(o.refused, 1000);
    }
    torture(
        valid,
        [](std::span<const std::uint8_t> b) {
            decode_stat_header(b, "st", CodePage::Cp1252);
            return Bytes{};
        },
        kMutations, 20);
}
