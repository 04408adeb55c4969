#include "dbor/bdon.h"

#include "dbor/file_head.h"
#include "io/files.h"

#include <stdexcept>

namespace kov {

namespace {

constexpr std::string_view kDborMid = "_dbor_";

bool all_digits(std::string_view s) {
    for (char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::string num(long long v) {
    return std::to_string(v);
}

// Why a header's identity (type letter, code, mode) is not valid, or empty.
std::string identity_problem(const DborHeader& h) {
    if (h.type != "A" && h.type != "B") {
        return "the type letter \"" + h.type + "\" is neither A nor B";
    }
    if (!is_dbor_code(dbor_code(h))) {
        return "the code \"" + h.code + "\" is not " + (h.type == "A" ? "3" : "6") +
               " digits as its type " + h.type + " requires";
    }
    const int mode = h.type == "A" ? 1 : 2;
    if (h.mode != mode) {
        return "the investment mode " + num(h.mode) + " does not match the type " + h.type +
               " (mode " + num(mode) + ")";
    }
    return {};
}

bool point_count_ok(std::int32_t p) {
    return p == 0 || (p >= 2 && p <= kMaxPoints);
}

DborHeader read_header(ByteReader& in) {
    in.need(kDborHeaderSize, "the database header");
    DborHeader h;
    h.language = in.pstring(3, "the language suffix");
    h.type = in.pstring(1, "the type letter");
    h.code = in.pstring(6, "the database code");
    h.name = in.pstring(70, "the database name");
    h.mode = in.i32("the investment mode");
    h.cost_unit = in.pstring(20, "the cost unit");
    h.time_unit = in.pstring(20, "the time unit");
    in.skip(2, "the header");
    h.m = in.i32("the number of objects");
    h.sale_objects = in.i32("the header counts");
    h.sale_curve_objects = in.i32("the header counts");
    h.expl_objects = in.i32("the header counts");
    h.expl_curve_objects = in.i32("the header counts");
    h.saved = in.pstring(10, "the date of saving");
    in.skip(1, "the header");
    return h;
}

void write_header(ByteWriter& out, const DborHeader& h) {
    out.pstring(h.language, 3);
    out.pstring(h.type, 1);
    out.pstring(h.code, 6);
    out.pstring(h.name, 70);
    out.i32(h.mode);
    out.pstring(h.cost_unit, 20);
    out.pstring(h.time_unit, 20);
    out.zeros(2);
    out.i32(h.m);
    out.i32(h.sale_objects);
    out.i32(h.sale_curve_objects);
    out.i32(h.expl_objects);
    out.i32(h.expl_curve_objects);
    out.pstring(h.saved, 10);
    out.zeros(1);
}

[[noreturn]] void refuse(const std::string& what) {
    throw std::invalid_argument("BDON: " + what);
}

// Checks that the record counts of `d` are within the limits and equal to its array sizes.
void check_shape(const BdonData& d) {
    if (const std::string p = identity_problem(d.header); !p.empty()) {
        refuse(p);
    }
    const std::size_t m = d.objects.size();
    if (m < 1 || m > std::size_t(kMaxObjects) || std::size_t(d.header.m) != m) {
        refuse("M " + num(d.header.m) + " with " + num(long(m)) + " objects");
    }
    for (std::int32_t c : {d.header.sale_objects, d.header.sale_curve_objects,
                           d.header.expl_objects, d.header.expl_curve_objects}) {
        if (c < 0 || c > d.header.m) {
            refuse("a usable-object count " + num(c) + " outside 0..M");
        }
    }
    if (d.variants.size() != m || d.sale_variants.size() != m || d.expl_variants.size() != m ||
        d.sale_points.size() != m || d.expl_points.size() != m) {
        refuse("the variant arrays are not sized by M");
    }
    for (std::size_t i = 0; i < m; ++i) {
        const std::string obj = "object " + num(long(i + 1));
        const std::int32_t n = d.objects[i].n;
        if (n < 0 || n > kMaxModernisations || d.variants[i].size() != std::size_t(n) + 1 ||
            d.sale_variants[i].size() != std::size_t(n) + 1 ||
            d.expl_variants[i].size() != std::size_t(n) + 1 ||
            d.sale_points[i].size() != std::size_t(n) + 1 ||
            d.expl_points[i].size() != std::size_t(n) + 1) {
            refuse(obj + ": n " + num(n) + " does not match its variant arrays");
        }
        for (std::size_t j = 0; j <= std::size_t(n); ++j) {
            const DborVariant& v = d.variants[i][j];
            const std::string var = obj + " variant " + num(long(j));
            if (v.s < 0 || v.s > kMaxSaleVariants ||
                d.sale_variants[i][j].size() != std::size_t(v.s) ||
                d.sale_points[i][j].size() != std::size_t(v.s)) {
                refuse(var + ": s " + num(v.s) + " does not match its sale arrays");
            }
            if (v.e < 0 || v.e > kMaxExplVariants ||
                d.expl_variants[i][j].size() != std::size_t(v.e) ||
                d.expl_points[i][j].size() != std::size_t(v.e)) {
                refuse(var + ": e " + num(v.e) + " does not match its exploitation arrays");
            }
            for (std::size_t k = 0; k < std::size_t(v.s); ++k) {
                const std::int32_t p = d.sale_variants[i][j][k].p;
                if (!point_count_ok(p) || d.sale_points[i][j][k].size() != std::size_t(p)) {
                    refuse(var + " sale variant " + num(long(k + 1)) + ": p " + num(p));
                }
            }
            for (std::size_t k = 0; k < std::size_t(v.e); ++k) {
                const std::int32_t q = d.expl_variants[i][j][k].q;
                if (!point_count_ok(q) || d.expl_points[i][j][k].size() != std::size_t(q)) {
                    refuse(var + " exploitation variant " + num(long(k + 1)) + ": q " + num(q));
                }
            }
        }
    }
}

void read_points(ByteReader& in, std::int32_t count, std::vector<DborPoint>& out) {
    in.need(std::size_t(count) * kDborPointSize, "the points of a delay curve");
    out.resize(std::size_t(count));
    for (auto& pt : out) {
        pt.x = in.f64("a point");
        pt.y = in.f64("a point");
    }
}

} // namespace

bool BdonData::same_content(const BdonData& o) const {
    return header == o.header && objects == o.objects && variants == o.variants &&
           sale_variants == o.sale_variants && expl_variants == o.expl_variants &&
           sale_points == o.sale_points && expl_points == o.expl_points;
}

bool is_dbor_code(std::string_view code) {
    if (code.size() == 5 && code.substr(0, 2) == "A_") {
        return all_digits(code.substr(2));
    }
    if (code.size() == 8 && code.substr(0, 2) == "B_") {
        return all_digits(code.substr(2));
    }
    return false;
}

std::string dbor_code(const DborHeader& header) {
    return header.type + "_" + header.code;
}

std::string bdon_file_name(std::string_view code, std::string_view suffix) {
    return "Dbor/" + std::string(code) + std::string(kDborMid) + std::string(suffix) + ".dat";
}

std::string bdon_base(const std::string& workspace, std::string_view code,
                      std::string_view suffix) {
    if (!is_dbor_code(code)) {
        throw std::invalid_argument("\"" + std::string(code) + "\" is not a DborCode");
    }
    return ws_path(workspace,
                   "Dbor/" + std::string(code) + std::string(kDborMid) + std::string(suffix));
}

Bytes encode_bdon(const BdonData& d, CodePage cp) {
    check_shape(d);
    ByteWriter out(cp);
    write_header(out, d.header);
    for (const auto& o : d.objects) {
        out.pstring(o.code, 6);
        out.pstring(o.description, 255);
        out.zeros(1);
        out.f64(o.cost);
        out.i32(o.n);
        out.pstring(o.absence, 1);
        out.zeros(2);
    }
    for (const auto& obj : d.variants) {
        for (const auto& v : obj) {
            out.pstring(v.description, 255);
            out.f64(v.cost);
            out.f64(v.duration);
            out.i32(v.s);
            out.i32(v.e);
        }
    }
    for (const auto& obj : d.sale_variants) {
        for (const auto& var : obj) {
            for (const auto& s : var) {
                out.f64(s.revenue);
                out.i32(s.p);
                out.zeros(4);
            }
        }
    }
    for (const auto& obj : d.expl_variants) {
        for (const auto& var : obj) {
            for (const auto& e : var) {
                out.f64(e.income);
                out.i32(e.q);
                out.zeros(4);
            }
        }
    }
    for (const auto* points : {&d.sale_points, &d.expl_points}) {
        for (const auto& obj : *points) {
            for (const auto& var : obj) {
                for (const auto& curve : var) {
                    for (const auto& pt : curve) {
                        out.f64(pt.x);
                        out.f64(pt.y);
                    }
                }
            }
        }
    }
    return out.take();
}

DborHeader decode_dbor_header(std::span<const std::uint8_t> data, const std::string& file,
                              CodePage cp) {
    ByteReader in(data, file, cp);
    return read_header(in);
}

BdonData decode_bdon(std::span<const std::uint8_t> data, const std::string& file, CodePage cp) {
    ByteReader in(data, file, cp);
    BdonData d;
    d.header = read_header(in);
    if (const std::string p = identity_problem(d.header); !p.empty()) {
        in.fail("the database header: " + p);
    }
    const std::int32_t m = d.header.m;
    if (m < 1 || m > kMaxObjects) {
        in.fail("the number of objects " + num(m) + " is outside 1.." + num(kMaxObjects));
    }
    for (std::int32_t c : {d.header.sale_objects, d.header.sale_curve_objects,
                           d.header.expl_objects, d.header.expl_curve_objects}) {
        if (c < 0 || c > m) {
            in.fail("a count of usable objects in the header, " + num(c) + ", is outside 0.." +
                    num(m));
        }
    }

    in.need(std::size_t(m) * kDborObjectSize, "the object records");
    d.objects.resize(std::size_t(m));
    for (std::size_t i = 0; i < d.objects.size(); ++i) {
        DborObject& o = d.objects[i];
        o.code = in.pstring(6, "an object code");
        o.description = in.pstring(255, "an object description");
        in.skip(1, "an object record");
        o.cost = in.f64("an object cost");
        o.n = in.i32("a number of modernisation variants");
        if (o.n < 0 || o.n > kMaxModernisations) {
            in.fail("object " + num(long(i + 1)) + ": the number of modernisation variants " +
                    num(o.n) + " is outside 0.." + num(kMaxModernisations));
        }
        o.absence = in.pstring(1, "an absence mark");
        in.skip(2, "an object record");
    }

    const std::size_t mm = std::size_t(m);
    d.variants.resize(mm);
    d.sale_variants.resize(mm);
    d.expl_variants.resize(mm);
    d.sale_points.resize(mm);
    d.expl_points.resize(mm);
    for (std::size_t i = 0; i < mm; ++i) {
        const std::size_t nv = std::size_t(d.objects[i].n) + 1;
        in.need(nv * kDborVariantSize, "the variant records");
        d.variants[i].resize(nv);
        for (std::size_t j = 0; j < nv; ++j) {
            DborVariant& v = d.variants[i][j];
            v.description = in.pstring(255, "a variant description");
            v.cost = in.f64("a modernisation cost");
            v.duration = in.f64("a modernisation duration");
            v.s = in.i32("a number of sale variants");
            v.e = in.i32("a number of exploitation variants");
            if (v.s < 0 || v.s > kMaxSaleVariants || v.e < 0 || v.e > kMaxExplVariants) {
                in.fail("object " + num(long(i + 1)) + " variant " + num(long(j)) + ": " +
                        num(v.s) + " sale and " + num(v.e) + " exploitation variants (each 0..5)");
            }
        }
        d.sale_variants[i].resize(nv);
        d.expl_variants[i].resize(nv);
        d.sale_points[i].resize(nv);
        d.expl_points[i].resize(nv);
    }

    for (std::size_t i = 0; i < mm; ++i) {
        for (std::size_t j = 0; j < d.variants[i].size(); ++j) {
            const std::int32_t s = d.variants[i][j].s;
            in.need(std::size_t(s) * kDborSaleVariantSize, "the sale variant records");
            auto& sv = d.sale_variants[i][j];
            sv.resize(std::size_t(s));
            for (std::size_t k = 0; k < sv.size(); ++k) {
                sv[k].revenue = in.f64("a sale revenue");
                sv[k].p = in.i32("a number of points");
                in.skip(4, "a sale variant record");
                if (!point_count_ok(sv[k].p)) {
                    in.fail("object " + num(long(i + 1)) + " variant " + num(long(j)) +
                            " sale variant " + num(long(k + 1)) + ": the number of points " +
                            num(sv[k].p) + " is neither 0 nor 2..10");
                }
            }
        }
    }
    for (std::size_t i = 0; i < mm; ++i) {
        for (std::size_t j = 0; j < d.variants[i].size(); ++j) {
            const std::int32_t e = d.variants[i][j].e;
            in.need(std::size_t(e) * kDborExplVariantSize, "the exploitation variant records");
            auto& ev = d.expl_variants[i][j];
            ev.resize(std::size_t(e));
            for (std::size_t k = 0; k < ev.size(); ++k) {
                ev[k].income = in.f64("an exploitation income");
                ev[k].q = in.i32("a number of points");
                in.skip(4, "an exploitation variant record");
                if (!point_count_ok(ev[k].q)) {
                    in.fail("object " + num(long(i + 1)) + " variant " + num(long(j)) +
                            " exploitation variant " + num(long(k + 1)) +
                            ": the number of points " + num(ev[k].q) + " is neither 0 nor 2..10");
                }
            }
        }
    }
    for (std::size_t i = 0; i < mm; ++i) {
        for (std::size_t j = 0; j < d.variants[i].size(); ++j) {
            const auto& sv = d.sale_variants[i][j];
            d.sale_points[i][j].resize(sv.size());
            for (std::size_t k = 0; k < sv.size(); ++k) {
                read_points(in, sv[k].p, d.sale_points[i][j][k]);
            }
        }
    }
    for (std::size_t i = 0; i < mm; ++i) {
        for (std::size_t j = 0; j < d.variants[i].size(); ++j) {
            const auto& ev = d.expl_variants[i][j];
            d.expl_points[i][j].resize(ev.size());
            for (std::size_t k = 0; k < ev.size(); ++k) {
                read_points(in, ev[k].q, d.expl_points[i][j][k]);
            }
        }
    }
    in.expect_end("the last delay curve");
    d.path = file;
    return d;
}

BdonData read_bdon(const std::string& base, CodePage cp) {
    const std::string path = base + ".dat";
    BdonData data = decode_bdon(read_file(path, kMaxBdonSize), path, cp);
    // A database is written back under the name its header gives, so one read under another
    // name (a copied file) would be written into another database's file.
    const std::string name = base.substr(base.find_last_of('/') + 1);
    const auto mid = name.rfind(kDborMid);
    if (mid != std::string::npos && name.substr(0, mid) != dbor_code(data.header)) {
        throw format_error(path, "the file holds the database " + dbor_code(data.header) +
                                     ", not the database " + name.substr(0, mid) + " of its name");
    }
    return data;
}

DborHeader read_dbor_header(const std::string& path, CodePage cp) {
    return decode_dbor_header(read_file_head(path, kDborHeaderSize), path, cp);
}

std::string write_bdon(const std::string& workspace, std::string_view suffix, BdonData& data,
                       std::string_view save_date, CodePage cp) {
    data.header.saved = left_chars(save_date, 10);
    const Bytes image = encode_bdon(data, cp);
    const std::string path = bdon_base(workspace, dbor_code(data.header), suffix) + ".dat";
    write_file_atomic(path, image);
    data.path = path;
    return path;
}

bool object_usable(const BdonData& d, std::size_t i, int tipz) {
    if (i >= d.objects.size() || i >= d.variants.size()) {
        return false;
    }
    const bool sale = tipz == 1 || tipz == 2;
    const bool curve = tipz == 2 || tipz == 4;
    for (std::size_t j = 0; j < d.variants[i].size(); ++j) {
        if (sale) {
            for (const auto& s : d.sale_variants[i][j]) {
                if (!curve || s.p > 0) {
                    return true;
                }
            }
        } else {
            for (const auto& e : d.expl_variants[i][j]) {
                if (!curve || e.q > 0) {
                    return true;
                }
            }
        }
    }
    return false;
}

std::vector<std::size_t> listed_objects(const BdonData& d, int tipz) {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < d.objects.size(); ++i) {
        if (object_usable(d, i, tipz)) {
            rows.push_back(i);
        }
    }
    return rows;
}

UsableCounts usable_counts(const BdonData& d) {
    UsableCounts c;
    for (std::size_t i = 0; i < d.objects.size(); ++i) {
        c.sale += object_usable(d, i, 1);
        c.sale_curve += object_usable(d, i, 2);
        c.expl += object_usable(d, i, 3);
        c.expl_curve += object_usable(d, i, 4);
    }
    return c;
}

static_assert(kMaxBdonSize == 164 + 1000 * (280 + 6 * (280 + 5 * (16 + 160) + 5 * (16 + 160))));

void store_usable_counts(BdonData& data) {
    const UsableCounts c = usable_counts(data);
    data.header.sale_objects = c.sale;
    data.header.sale_curve_objects = c.sale_curve;
    data.header.expl_objects = c.expl;
    data.header.expl_curve_objects = c.expl_curve;
}

} // namespace kov
