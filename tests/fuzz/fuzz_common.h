#pragma once

// What the fuzz targets share: the fixed databases and tasks the readers are checked against
// (built with the project's own writers, as in the core tests), and the check that a file a
// reader accepted is written again and read back to the same image.

#include "data_fixtures.h"
#include "io/error.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace fuzz {

inline void check(bool ok) {
    if (!ok) {
        __builtin_trap();
    }
}

// The databases a task or solution image is read against, chosen by the input's first byte.
inline const std::vector<kov::BdonData>& databases() {
    static const std::vector<kov::BdonData> d = {
        fixtures::small_bdon('A', "123"),
        fixtures::small_bdon('B', "123456"),
        fixtures::make_bdon('A', "123",
                            {{{{2, 10}, {3}}, {{0}, {}}, {{}, {2, 2, 2, 2, 2}}}, {{{}, {0}}}}),
    };
    return d;
}

// One task of every type and two variant counts on each database.
struct TaskCase {
    const kov::BdonData* bdon;
    kov::TaskFiles files;
};
inline const std::vector<TaskCase>& tasks() {
    static const std::vector<TaskCase> t = [] {
        std::vector<TaskCase> all;
        for (const auto& bdon : databases()) {
            for (int tipz = 1; tipz <= 4; ++tipz) {
                if (kov::listed_objects(bdon, tipz).empty()) {
                    continue;
                }
                for (int nsg : {1, 3}) {
                    all.push_back({&bdon, kov::build_task_files(
                                              fixtures::make_definition(bdon, tipz, nsg), bdon)});
                }
            }
        }
        return all;
    }();
    return t;
}

// The input split into a selector byte and the file image.
struct Input {
    std::size_t selector = 0;
    std::span<const std::uint8_t> image;
};
inline Input split(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return {};
    }
    return {data[0], std::span<const std::uint8_t>(data + 1, size - 1)};
}

} // namespace fuzz
