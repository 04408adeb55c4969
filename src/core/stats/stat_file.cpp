#include "stats/stat_file.h"

#include "dbor/file_head.h"
#include "io/files.h"

#include <stdexcept>

namespace kov {

namespace {

constexpr std::int32_t kMaxVariants = 10; // nsg of the task descriptor

std::string num(long long v) {
    return std::to_string(v);
}

TStatHeader read_header(ByteReader& in) {
    in.need(kStatHeaderSize, "the statistics header");
    TStatHeader h;
    h.trials = in.i32("the number of trials");
    h.elapsed = in.pstring(40, "the elapsed time");
    h.money_unit = in.pstring(20, "the money unit");
    h.time_unit = in.pstring(20, "the time unit");
    in.skip(1, "the statistics header");
    if (h.trials < kMinTrials || h.trials > kMaxTrials) {
        in.fail("the number of trials " + num(h.trials) + " is outside 100..100000");
    }
    return h;
}

} // namespace

std::size_t stat_file_size(std::int32_t nsg) {
    return kStatHeaderSize +
           std::size_t(nsg) * (kStatVariantSize + kStatThresholds * kStatThresholdSize);
}

Bytes encode_stat_file(const StatFile& s, CodePage cp) {
    const std::size_t t = s.variants.size();
    if (t < 1 || t > std::size_t(kMaxVariants) || s.blocks.size() != t) {
        throw std::invalid_argument("statistics: " + num(long(t)) + " variant records and " +
                                    num(long(s.blocks.size())) + " threshold blocks");
    }
    std::vector<bool> seen(t, false);
    for (const auto& v : s.variants) {
        if (v.number < 1 || std::size_t(v.number) > t || seen[std::size_t(v.number - 1)]) {
            throw std::invalid_argument("statistics: the variant numbers are not 1.." +
                                        num(long(t)));
        }
        seen[std::size_t(v.number - 1)] = true;
    }
    ByteWriter out(cp);
    out.i32(s.header.trials);
    out.pstring(s.header.elapsed, 40);
    out.pstring(s.header.money_unit, 20);
    out.pstring(s.header.time_unit, 20);
    out.zeros(1);
    for (const auto& v : s.variants) {
        out.i32(v.number);
        out.zeros(4);
        for (double x :
             {v.own, v.credit, v.full_cost, v.expected_income, v.payback_term,
              v.payback_coefficient, v.payback_amount, v.computed_mean, v.simulated_mean}) {
            out.f64(x);
        }
    }
    for (const auto& b : s.blocks) {
        for (const auto& e : b) {
            out.f64(e.probability);
            out.f64(e.income);
        }
    }
    return out.take();
}

TStatHeader decode_stat_header(std::span<const std::uint8_t> data, const std::string& file,
                               CodePage cp) {
    ByteReader in(data, file, cp);
    return read_header(in);
}

StatFile decode_stat_file(std::span<const std::uint8_t> data, const std::string& file,
                          std::int32_t nsg, CodePage cp) {
    ByteReader in(data, file, cp);
    if (nsg < 1 || nsg > kMaxVariants) {
        in.fail("the task's number of investment variants " + num(nsg) + " is outside 1..10");
    }
    if (data.size() != stat_file_size(nsg)) {
        in.fail("the file has " + num(long(data.size())) + " bytes, but the task's " + num(nsg) +
                " investment variants call for " + num(long(stat_file_size(nsg))) +
                " (statistics of another solution of the task)");
    }
    StatFile s;
    s.header = read_header(in);
    const std::size_t t = std::size_t(nsg);
    s.variants.resize(t);
    std::vector<bool> seen(t, false);
    for (auto& v : s.variants) {
        v.number = in.i32("a variant number");
        if (v.number < 1 || v.number > nsg) {
            in.fail("the variant number " + num(v.number) + " is outside 1.." + num(nsg));
        }
        if (seen[std::size_t(v.number - 1)]) {
            in.fail("the variant number " + num(v.number) + " occurs twice");
        }
        seen[std::size_t(v.number - 1)] = true;
        in.skip(4, "a variant record");
        for (double* x :
             {&v.own, &v.credit, &v.full_cost, &v.expected_income, &v.payback_term,
              &v.payback_coefficient, &v.payback_amount, &v.computed_mean, &v.simulated_mean}) {
            *x = in.f64("a variant record");
        }
    }
    s.blocks.resize(t);
    for (auto& b : s.blocks) {
        for (auto& e : b) {
            e.probability = in.f64("a threshold");
            e.income = in.f64("a threshold");
        }
    }
    in.expect_end("the threshold blocks");
    return s;
}

StatFile read_stat_file(const std::string& path, std::int32_t nsg, CodePage cp) {
    return decode_stat_file(read_file(path, stat_file_size(kMaxVariants)), path, nsg, cp);
}

TStatHeader read_stat_header(const std::string& path, CodePage cp) {
    return decode_stat_header(read_file_head(path, kStatHeaderSize), path, cp);
}

void write_stat_file(const std::string& path, const StatFile& s, CodePage cp) {
    write_file_atomic(path, encode_stat_file(s, cp));
}

} // namespace kov
