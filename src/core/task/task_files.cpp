#include "task/task_files.h"

#include "dbor/file_head.h"
#include "io/files.h"
#include "shell/language_shell.h"
#include "task/task_code.h"
#include "task/ticks.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kov {

namespace {

std::string num(long long v) {
    return std::to_string(v);
}

// Why a header is not one the system writes, or empty. Only what sizes the files, selects their
// layout or becomes part of a path is checked; values that only feed computations are not.
std::string header_problem(const TaskHeader& h) {
    if (!is_task_code(h.shifr)) {
        return "the TaskCode \"" + h.shifr + "\" is not six upper-case Latin letters or digits";
    }
    if (h.reg != 1 && h.reg != 2) {
        return "the investment mode " + num(h.reg) + " is neither 1 nor 2";
    }
    if (!is_dbor_code(h.shifr_db) || h.shifr_db[0] != (h.reg == 1 ? 'A' : 'B')) {
        return "the DborCode \"" + h.shifr_db + "\" is not " + (h.reg == 1 ? "A_ddd" : "B_dddddd") +
               " as the investment mode " + num(h.reg) + " requires";
    }
    if (h.tipz < 1 || h.tipz > 4) {
        return "the task type " + num(h.tipz) + " is outside 1..4";
    }
    const int prmp = h.tipz <= 2 ? 1 : 2;
    const int prok = h.tipz % 2 == 0 ? 1 : 0;
    if (h.prmp != prmp || h.prok != prok) {
        return "the maximised parameter " + num(h.prmp) + " and pay-back flag " + num(h.prok) +
               " are not those of task type " + num(h.tipz) + " (" + num(prmp) + ", " + num(prok) +
               ")";
    }
    if (h.nsg < 1 || h.nsg > kMaxInvestmentVariants) {
        return "the number of investment variants " + num(h.nsg) + " is outside 1..10";
    }
    if (h.mt < 0 || h.mt > kMaxObjects) {
        return "the number of listed objects " + num(h.mt) + " is outside 0..1000";
    }
    if (h.mz < 0 || h.mz > h.mt) {
        return "the number of chosen objects " + num(h.mz) + " is outside 0.." + num(h.mt) +
               " (the listed objects)";
    }
    if (h.nt < 0 || h.nt > kMaxPaybackValues || (h.prok == 1 && h.nt != h.nsg)) {
        return "the number of pay-back values " + num(h.nt) +
               (h.prok == 1 ? " differs from the number of investment variants " + num(h.nsg)
                            : std::string(" is outside 0..5"));
    }
    if (h.ogrn < 0 || h.ogrn > kMaxObjectLimit) {
        return "the object limit " + num(h.ogrn) + " is outside 0..10";
    }
    if (h.toc < 0 || h.toc > 2) {
        return "the rounding type " + num(h.toc) + " is outside 0..2";
    }
    if (!std::isfinite(h.delta) || !(h.delta > 0)) {
        return "the tick is not a positive number";
    }
    const struct {
        const char* code;
        double value;
    } amounts[] = {{"nsd", h.nsd}, {"soi", h.soi},   {"tmx", h.tmx},   {"tmn", h.tmn}, {"ps", h.ps},
                   {"por", h.por}, {"mzad", h.mzad}, {"srok", h.srok}, {"ver", h.ver}};
    for (const auto& a : amounts) {
        if (!std::isfinite(a.value)) {
            return std::string("the field ") + a.code + " is not a finite number";
        }
    }
    return {};
}

TaskHeader read_header(ByteReader& in) {
    in.need(kTaskHeaderSize, "the task header");
    TaskHeader h;
    h.shifr = in.pstring(6, "the TaskCode");
    h.name = in.pstring(70, "the task name");
    in.skip(2, "the task header");
    h.reg = in.i32("reg");
    h.tipz = in.i32("tipz");
    h.shifr_db = in.pstring(8, "the DborCode");
    in.skip(3, "the task header");
    h.mt = in.i32("mt");
    h.prmp = in.i32("prmp");
    h.prok = in.i32("prok");
    h.nsd = in.f64("nsd");
    h.soi = in.f64("soi");
    h.tmx = in.f64("tmx");
    h.tmn = in.f64("tmn");
    h.nt = in.i32("nt");
    h.nsg = in.i32("nsg");
    h.ps = in.f64("ps");
    h.por = in.f64("por");
    h.mzad = in.f64("mzad");
    h.ogrn = in.i32("ogrn");
    in.skip(4, "the task header");
    h.srok = in.f64("srok");
    h.ver = in.f64("ver");
    h.mz = in.i32("mz");
    h.toc = in.i32("toc");
    h.delta = in.f64("delta");
    h.faza = in.i32("faza");
    h.stat = in.i32("stat");
    h.prk = in.i32("prk");
    in.skip(4, "the task header");
    if (const std::string p = header_problem(h); !p.empty()) {
        in.fail("the task header: " + p);
    }
    return h;
}

void write_header(ByteWriter& out, const TaskHeader& h) {
    out.pstring(h.shifr, 6);
    out.pstring(h.name, 70);
    out.zeros(2);
    out.i32(h.reg);
    out.i32(h.tipz);
    out.pstring(h.shifr_db, 8);
    out.zeros(3);
    out.i32(h.mt);
    out.i32(h.prmp);
    out.i32(h.prok);
    out.f64(h.nsd);
    out.f64(h.soi);
    out.f64(h.tmx);
    out.f64(h.tmn);
    out.i32(h.nt);
    out.i32(h.nsg);
    out.f64(h.ps);
    out.f64(h.por);
    out.f64(h.mzad);
    out.i32(h.ogrn);
    out.zeros(4);
    out.f64(h.srok);
    out.f64(h.ver);
    out.i32(h.mz);
    out.i32(h.toc);
    out.f64(h.delta);
    out.i32(h.faza);
    out.i32(h.stat);
    out.i32(h.prk);
    out.zeros(4);
}

void write_mark(ByteWriter& out, bool mark) {
    out.u8(mark ? 1 : 0);
    out.u8(mark ? '*' : 0);
}

bool read_mark(ByteReader& in, const char* what) {
    const auto b = in.bytes(kTprtabSize, what);
    if (b[0] == 0) {
        return false;
    }
    if (b[0] == 1 && b[1] == '*') {
        return true;
    }
    in.fail(std::string(what) + ": a mark that is neither \"*\" nor empty");
}

void read_marks(ByteReader& in, std::size_t n, Marks& out, const char* what) {
    in.need(n * kTprtabSize, what);
    out.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = read_mark(in, what);
    }
}

std::string bdon_name(const BdonData& bdon) {
    return "\"" + (bdon.path.empty() ? dbor_code(bdon.header) : bdon.path) + "\"";
}

// The task names a database that must be the one given.
void check_against_bdon(ByteReader& in, const TaskHeader& h, const BdonData& bdon) {
    if (h.shifr_db != dbor_code(bdon.header) || h.reg != bdon.header.mode) {
        in.fail("the task names the database " + h.shifr_db + " (mode " + num(h.reg) +
                "), but the database " + bdon_name(bdon) + " is " + dbor_code(bdon.header) +
                " (mode " + num(bdon.header.mode) + ")");
    }
    if (std::size_t(h.mz) > bdon.objects.size()) {
        in.fail("the task has " + num(h.mz) + " chosen objects, the database " + bdon_name(bdon) +
                " only " + num(long(bdon.objects.size())) + " objects");
    }
}

// Number of income variants (sale for prmp 1, exploitation for prmp 2) of (object i, variant j).
std::size_t income_count(const BdonData& bdon, int prmp, std::size_t i, std::size_t j) {
    return prmp == 1 ? bdon.sale_variants[i][j].size() : bdon.expl_variants[i][j].size();
}

void read_group_sizes(ByteReader& in, std::int32_t mz,
                      std::vector<std::vector<ChoiceTriple>>& groups) {
    in.need(std::size_t(mz) * 4, "the group sizes");
    groups.resize(std::size_t(mz));
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::int32_t count = in.i32("a group size");
        if (count < 1 || count > kMaxGroupSize) {
            in.fail("group " + num(long(g + 1)) + ": the number of its triples " + num(count) +
                    " is outside 1.." + num(kMaxGroupSize));
        }
        groups[g].resize(std::size_t(count));
    }
}

// Reads the triples of every group (sizes already set) and checks them against the BDON.
// `objects` (descriptor) gives the 0-based object of each group; without it (input file) every
// group names one object, the groups in ascending object order.
void read_groups(ByteReader& in, const TaskHeader& h, const BdonData& bdon,
                 const std::vector<std::size_t>* objects,
                 std::vector<std::vector<ChoiceTriple>>& groups) {
    std::size_t total = 0;
    for (const auto& g : groups) {
        total += g.size();
    }
    in.need(total * kChoiceTripleSize, "the choice triples");
    std::int32_t previous = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        auto& group = groups[g];
        const std::string where = "group " + num(long(g + 1));
        for (std::size_t t = 0; t < group.size(); ++t) {
            ChoiceTriple& c = group[t];
            c.object = in.i32("a choice triple");
            c.modernisation = in.i32("a choice triple");
            c.income = in.i32("a choice triple");
            const std::string triple = where + " triple " + num(long(t + 1)) + " (" +
                                       num(c.object) + ", " + num(c.modernisation) + ", " +
                                       num(c.income) + ")";
            if (t == 0) {
                if (!(c == kNotTaken)) {
                    in.fail(triple + ": the first triple of a group is not (-1, -1, -1)");
                }
                continue;
            }
            if (c.object < 1 || std::size_t(c.object) > bdon.objects.size()) {
                in.fail(triple + ": the database " + bdon_name(bdon) + " has no object " +
                        num(c.object));
            }
            if (objects) {
                if (std::size_t(c.object) != (*objects)[g] + 1) {
                    in.fail(triple + ": the group belongs to chosen object " +
                            num(long((*objects)[g] + 1)));
                }
            } else if (t == 1) {
                if (c.object <= previous) {
                    in.fail(triple + ": the groups are not in ascending object order");
                }
                previous = c.object;
            } else if (c.object != group[1].object) {
                in.fail(triple + ": the group names more than one object");
            }
            const std::size_t i = std::size_t(c.object - 1);
            if (c.modernisation < 0 || std::size_t(c.modernisation) >= bdon.variants[i].size()) {
                in.fail(triple + ": object " + num(c.object) + " of the database " +
                        bdon_name(bdon) + " has no modernisation variant " + num(c.modernisation));
            }
            const std::size_t count = income_count(bdon, h.prmp, i, std::size_t(c.modernisation));
            const bool ok = h.prok == 0 ? c.income == 1 && count >= 1
                                        : c.income >= 1 && std::size_t(c.income) <= count;
            if (!ok) {
                in.fail(triple + ": variant " + num(c.modernisation) + " of object " +
                        num(c.object) + " of the database " + bdon_name(bdon) + " has " +
                        num(long(count)) + (h.prmp == 1 ? " sale" : " exploitation") + " variants" +
                        (h.prok == 0 ? " (without pay-back the third number is 1)" : ""));
            }
        }
    }
}

void write_groups(ByteWriter& out, const std::vector<std::vector<ChoiceTriple>>& groups) {
    for (const auto& g : groups) {
        out.i32(std::int32_t(g.size()));
    }
    for (const auto& g : groups) {
        for (const auto& c : g) {
            out.i32(c.object);
            out.i32(c.modernisation);
            out.i32(c.income);
        }
    }
}

[[noreturn]] void refuse(const std::string& what) {
    throw std::invalid_argument("task files: " + what);
}

void check_header_for_writing(const TaskHeader& h) {
    if (const std::string p = header_problem(h); !p.empty()) {
        refuse(p);
    }
}

void check_groups_shape(const std::vector<std::vector<ChoiceTriple>>& groups, const TaskHeader& h) {
    if (groups.size() != std::size_t(h.mz)) {
        refuse(num(long(groups.size())) + " groups for mz " + num(h.mz));
    }
    for (const auto& g : groups) {
        if (g.empty() || g.size() > std::size_t(kMaxGroupSize)) {
            refuse("a group of " + num(long(g.size())) + " triples");
        }
    }
}

// Reads back an image a writer made: what the writer wrote must be what its reader accepts.
template <class Decode> void verify(const Bytes& image, Decode decode) {
    try {
        decode(image);
    } catch (const FileError& e) {
        refuse(e.detail());
    }
}

} // namespace

std::string task_file_path(const std::string& workspace, std::string_view folder,
                           std::string_view task_code, std::string_view suffix) {
    if (!is_task_code(task_code)) {
        throw std::invalid_argument("\"" + std::string(task_code) + "\" is not a TaskCode");
    }
    return ws_path(workspace, std::string(folder) + "/kov_" + std::string(task_code) +
                                  std::string(suffix) + ".dat");
}

std::string task_bdon_base(const std::string& workspace, const TaskHeader& header,
                           std::string_view suffix) {
    return bdon_base(workspace, header.shifr_db, suffix);
}

Bytes encode_task_header(const TaskHeader& h, CodePage cp) {
    check_header_for_writing(h);
    ByteWriter out(cp);
    write_header(out, h);
    return out.take();
}

Bytes encode_task_descriptor(const TaskDescriptor& d, const BdonData& bdon, CodePage cp) {
    const TaskHeader& h = d.header;
    check_header_for_writing(h);
    const std::size_t m = bdon.objects.size();
    if (d.variants.size() != std::size_t(h.nsg)) {
        refuse(num(long(d.variants.size())) + " investment variants for nsg " + num(h.nsg));
    }
    if (d.row_marks.size() != std::size_t(h.mt)) {
        refuse(num(long(d.row_marks.size())) + " row marks for mt " + num(h.mt));
    }
    if (d.object_marks.size() != m || d.variant_marks.size() != m || bdon.variants.size() != m) {
        refuse("the object or variant marks are not sized by the database");
    }
    for (std::size_t i = 0; i < m; ++i) {
        if (d.variant_marks[i].size() != bdon.variants[i].size()) {
            refuse("the variant marks of object " + num(long(i + 1)) +
                   " are not sized by the database");
        }
    }
    check_groups_shape(d.groups, h);
    if (h.prok == 1) {
        if (d.income_marks.size() != m) {
            refuse("the income-variant marks are not sized by the database");
        }
        for (std::size_t i = 0; i < m; ++i) {
            if (d.income_marks[i].size() != bdon.variants[i].size()) {
                refuse("the income-variant marks of object " + num(long(i + 1)) +
                       " are not sized by the database");
            }
            for (std::size_t j = 0; j < bdon.variants[i].size(); ++j) {
                if (d.income_marks[i][j].size() != income_count(bdon, h.prmp, i, j)) {
                    refuse("the income-variant marks of object " + num(long(i + 1)) + " variant " +
                           num(long(j)) + " are not sized by the database");
                }
            }
        }
    }

    ByteWriter out(cp);
    write_header(out, h);
    for (const auto& v : d.variants) {
        out.f64(v.own);
        out.f64(v.credit);
    }
    for (bool mark : d.row_marks) {
        write_mark(out, mark);
    }
    for (bool mark : d.object_marks) {
        write_mark(out, mark);
    }
    for (const auto& marks : d.variant_marks) {
        for (bool mark : marks) {
            write_mark(out, mark);
        }
    }
    write_groups(out, d.groups);
    if (h.prok == 1) {
        for (const auto& obj : d.income_marks) {
            for (const auto& var : obj) {
                for (bool mark : var) {
                    write_mark(out, mark);
                }
            }
        }
    }
    Bytes image = out.take();
    verify(image, [&](const Bytes& b) {
        decode_task_descriptor(b, "descriptor", &bdon, DescriptorParts::Full, cp);
    });
    return image;
}

Bytes encode_task_input(const TaskInput& in, const BdonData& bdon, CodePage cp) {
    const TaskHeader& h = in.header;
    check_header_for_writing(h);
    if (in.ticks.size() != std::size_t(h.nsg)) {
        refuse(num(long(in.ticks.size())) + " InvestmentTicks for nsg " + num(h.nsg));
    }
    check_groups_shape(in.groups, h);
    if (in.payback_series.size() != (h.prok == 1 ? std::size_t(h.nsg) : 0)) {
        refuse(num(long(in.payback_series.size())) + " values of the pay-back series");
    }
    ByteWriter out(cp);
    write_header(out, h);
    for (const auto& t : in.ticks) {
        out.i32(t.own);
        out.i32(t.credit);
        out.i32(t.payback);
    }
    write_groups(out, in.groups);
    for (double v : in.payback_series) {
        out.f64(v);
    }
    out.pstring(in.shell_file_name, kShellNameCapacity);
    Bytes image = out.take();
    verify(image,
           [&](const Bytes& b) { decode_task_input(b, "input file", bdon, InputParts::Full, cp); });
    return image;
}

TaskHeader decode_task_header(std::span<const std::uint8_t> data, const std::string& file,
                              CodePage cp) {
    ByteReader in(data, file, cp);
    return read_header(in);
}

TaskDescriptor decode_task_descriptor(std::span<const std::uint8_t> data, const std::string& file,
                                      const BdonData* bdon, DescriptorParts parts, CodePage cp) {
    ByteReader in(data, file, cp);
    TaskDescriptor d;
    d.header = read_header(in);
    const TaskHeader& h = d.header;

    in.need(std::size_t(h.nsg) * kInvestmentVariantSize, "the investment variants");
    d.variants.resize(std::size_t(h.nsg));
    for (auto& v : d.variants) {
        v.own = in.f64("an investment variant");
        v.credit = in.f64("an investment variant");
        if (!std::isfinite(v.own) || !std::isfinite(v.credit)) {
            in.fail("an investment variant's own funds or credit is not a finite number");
        }
    }
    if (parts == DescriptorParts::Variants) {
        return d;
    }
    read_marks(in, std::size_t(h.mt), d.row_marks, "the row marks");
    if (parts == DescriptorParts::Correction) {
        return d;
    }
    if (!bdon) {
        throw std::invalid_argument("decode_task_descriptor: a full read needs the database");
    }

    check_against_bdon(in, h, *bdon);
    const std::size_t listed = listed_objects(*bdon, h.tipz).size();
    if (std::size_t(h.mt) != listed) {
        in.fail("the task lists " + num(h.mt) + " objects, the database " + bdon_name(*bdon) +
                " has " + num(long(listed)) + " objects usable for task type " + num(h.tipz));
    }
    const std::size_t m = bdon->objects.size();
    read_marks(in, m, d.object_marks, "the object marks");
    d.variant_marks.resize(m);
    for (std::size_t i = 0; i < m; ++i) {
        read_marks(in, bdon->variants[i].size(), d.variant_marks[i],
                   "the modernisation-variant marks");
    }
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < m; ++i) {
        if (d.object_marks[i]) {
            chosen.push_back(i);
        }
    }
    if (chosen.size() != std::size_t(h.mz)) {
        in.fail("the task has " + num(h.mz) + " chosen objects but " + num(long(chosen.size())) +
                " object marks");
    }
    read_group_sizes(in, h.mz, d.groups);
    read_groups(in, h, *bdon, &chosen, d.groups);
    if (h.prok == 1) {
        d.income_marks.resize(m);
        for (std::size_t i = 0; i < m; ++i) {
            d.income_marks[i].resize(bdon->variants[i].size());
            for (std::size_t j = 0; j < bdon->variants[i].size(); ++j) {
                read_marks(in, income_count(*bdon, h.prmp, i, j), d.income_marks[i][j],
                           "the income-variant marks");
            }
        }
    }
    in.expect_end(h.prok == 1 ? "the income-variant marks" : "the choice triples");
    // The choice groups are built from the marks: a descriptor whose triples do not follow
    // from its marks was read against another shape of the database, or was damaged.
    if (d.groups !=
        build_choice_groups(h, *bdon, d.object_marks, d.variant_marks, d.income_marks)) {
        in.fail(
            "the choice triples do not follow from the object, variant and income-variant marks "
            "read against the database " +
            bdon_name(*bdon));
    }
    return d;
}

TaskInput decode_task_input(std::span<const std::uint8_t> data, const std::string& file,
                            const BdonData& bdon, InputParts parts, CodePage cp) {
    ByteReader in(data, file, cp);
    TaskInput t;
    t.header = read_header(in);
    const TaskHeader& h = t.header;
    check_against_bdon(in, h, bdon);

    in.need(std::size_t(h.nsg) * kInvestmentTicksSize, "the InvestmentTicks");
    t.ticks.resize(std::size_t(h.nsg));
    for (std::size_t k = 0; k < t.ticks.size(); ++k) {
        auto& v = t.ticks[k];
        v.own = in.i32("InvestmentTicks");
        v.credit = in.i32("InvestmentTicks");
        v.payback = in.i32("InvestmentTicks");
        if (v.own < 0 || v.credit < 0 || v.payback < 0 || (h.prok == 0 && v.payback != 0)) {
            in.fail("variant " + num(long(k + 1)) + ": the ticks (" + num(v.own) + ", " +
                    num(v.credit) + ", " + num(v.payback) +
                    ") are negative or carry a pay-back amount without pay-back");
        }
    }
    read_group_sizes(in, h.mz, t.groups);
    read_groups(in, h, bdon, nullptr, t.groups);
    if (parts == InputParts::Solver) {
        return t;
    }
    if (h.prok == 1) {
        in.need(std::size_t(h.nsg) * 8, "the pay-back series");
        t.payback_series.resize(std::size_t(h.nsg));
        for (double& v : t.payback_series) {
            v = in.f64("the pay-back series");
            if (!std::isfinite(v)) {
                in.fail("a value of the pay-back series is not a finite number");
            }
        }
    }
    t.shell_file_name = in.pstring(kShellNameCapacity, "the shell's file name");
    in.expect_end("the shell's file name");
    return t;
}

namespace {

// The TaskCode in a task file's name (kov_<TaskCode>.dat, kov_<TaskCode>_in.dat, ...), or empty
// for a file not named after a task.
std::string code_of_file_name(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() < 14 || name.rfind("kov_", 0) != 0 || !is_task_code(name.substr(4, 6))) {
        return {};
    }
    return name.substr(4, 6);
}

// Before a task file is read: carries out an interrupted write of its pair.
void settle_pair(const std::string& path) {
    const std::string code = code_of_file_name(path);
    if (!code.empty()) {
        const auto slash = path.find_last_of('/');
        const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
        complete_pending_write(dir + "/kov_" + code + ".intent");
    }
}

// A task file holds the task its name gives: one copied under another task's name would
// otherwise lead its reader to the other task's files.
template <class File> File checked_name(File file, const std::string& path) {
    const std::string code = code_of_file_name(path);
    const TaskHeader& h = file.header;
    if (!code.empty() && h.shifr != code) {
        throw format_error(path, "the file holds the task \"" + h.shifr + "\", not the task \"" +
                                     code + "\" of its name");
    }
    return file;
}

} // namespace

TaskHeader read_task_header(const std::string& path, CodePage cp) {
    settle_pair(path);
    struct Head {
        TaskHeader header;
    };
    Head head{decode_task_header(read_file_head(path, kTaskHeaderSize), path, cp)};
    return checked_name(std::move(head), path).header;
}

namespace {

// The largest descriptor the limits allow (with a maximal BDON), and the largest input file.
constexpr std::size_t kMaxDescriptorSize = kTaskHeaderSize + 10 * kInvestmentVariantSize +
                                           2 * kMaxObjects * kTprtabSize +
                                           kMaxObjects * (kMaxModernisations + 1) * kTprtabSize +
                                           kMaxObjects * (4 + kMaxGroupSize * kChoiceTripleSize) +
                                           kMaxObjects * (kMaxModernisations + 1) * 5 * kTprtabSize;
constexpr std::size_t kMaxInputSize = kTaskHeaderSize + 10 * (kInvestmentTicksSize + 8) +
                                      kMaxObjects * (4 + kMaxGroupSize * kChoiceTripleSize) + 25;

// A partial read only needs the first parts; read no more than the largest they can take.
constexpr std::size_t kVariantsPrefix = kTaskHeaderSize + 10 * kInvestmentVariantSize;
constexpr std::size_t kCorrectionPrefix = kVariantsPrefix + kMaxObjects * kTprtabSize;

} // namespace

TaskDescriptor read_task_descriptor(const std::string& path, const BdonData& bdon, CodePage cp) {
    settle_pair(path);
    return checked_name(decode_task_descriptor(read_file(path, kMaxDescriptorSize), path, &bdon,
                                               DescriptorParts::Full, cp),
                        path);
}

TaskDescriptor read_task_for_correction(const std::string& path, CodePage cp) {
    settle_pair(path);
    return checked_name(decode_task_descriptor(read_file_head(path, kCorrectionPrefix), path,
                                               nullptr, DescriptorParts::Correction, cp),
                        path);
}

TaskDescriptor read_task_variants(const std::string& path, CodePage cp) {
    settle_pair(path);
    return checked_name(decode_task_descriptor(read_file_head(path, kVariantsPrefix), path, nullptr,
                                               DescriptorParts::Variants, cp),
                        path);
}

TaskInput read_task_input(const std::string& path, const BdonData& bdon, CodePage cp) {
    settle_pair(path);
    return checked_name(
        decode_task_input(read_file(path, kMaxInputSize), path, bdon, InputParts::Full, cp), path);
}

TaskInput read_solver_input(const std::string& path, const BdonData& bdon, CodePage cp) {
    settle_pair(path);
    return checked_name(
        decode_task_input(read_file_head(path, kMaxInputSize), path, bdon, InputParts::Solver, cp),
        path);
}

std::optional<CodePage> read_task_input_codepage(const std::string& path) {
    Bytes data;
    try {
        settle_pair(path);
        data = read_file(path, kMaxInputSize);
    } catch (const FileError&) {
        return std::nullopt;
    }
    constexpr std::size_t kTail = kShellNameCapacity + 1;
    if (data.size() < kTaskHeaderSize + kTail) {
        return std::nullopt;
    }
    const std::size_t at = data.size() - kTail;
    const std::size_t length = data[at];
    const std::string name(data.begin() + std::ptrdiff_t(at) + 1,
                           data.begin() + std::ptrdiff_t(at + 1 + std::min(length, kTail - 1)));
    const std::string prefix(kShellPattern.substr(0, kShellPattern.size() - 3));
    if (length > kShellNameCapacity || name.rfind(prefix, 0) != 0 || name.size() == prefix.size()) {
        return std::nullopt;
    }
    // A suffix written in Cyrillic letters is stored in the Cyrillic code page.
    const std::string suffix = name.substr(prefix.size());
    const bool high = std::any_of(suffix.begin(), suffix.end(),
                                  [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return codepage_for_suffix(decode(suffix, high ? CodePage::Cp1251 : CodePage::Cp1252));
}

void write_task_files(const std::string& workspace, const TaskDescriptor& d, const TaskInput& in,
                      const BdonData& bdon, CodePage cp) {
    if (!(d.header == in.header)) {
        refuse("the descriptor's and the input file's headers differ");
    }
    Bytes descriptor = encode_task_descriptor(d, bdon, cp);
    Bytes input = encode_task_input(in, bdon, cp);
    const std::string& code = d.header.shifr;
    write_files_atomic({{task_file_path(workspace, "Data", code, ""), std::move(descriptor)},
                        {task_file_path(workspace, "Data", code, "_in"), std::move(input)}},
                       ws_path(workspace, "Data/kov_" + code + ".intent"));
}

} // namespace kov
