// Writes the demonstration data into a Workspace that holds none yet:
//   kov-demo WORKSPACE
// For every language shell of the Workspace (eng and rus) a database of objects for purchase
// (A_101) and one of own real estate (B_201001), and six tasks (DEME01..06, DEMR01..06)
// covering the four task types: entered ones, one queued for the optimisation module, one solved
// and one solved pay-back task whose statistics can be created, all in System/protocol.ptl.
//
// Everything is written into a staging folder first and moved into the Workspace at the end, so a
// failure leaves the Workspace as it was. A Workspace with any file under Dbor, Data or Solving, or
// with a protocol, is left alone: the demonstration never touches a user's data.

#include "dbor/bdon.h"
#include "io/codepage.h"
#include "io/files.h"
#include "io/numbers.h"
#include "optim/info_file.h"
#include "optim/solve_task.h"
#include "protocol/protocol.h"
#include "protocol/task_state.h"
#include "road/task_road.h"
#include "shell/language_shell.h"
#include "task/task_builder.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace kov;

namespace {

// A text in both languages of the demonstration.
struct Text {
    const char* eng;
    const char* rus;
};

using Curve = std::vector<DborPoint>;

// Delay curves of various shapes over the delay `t` (time units).
Curve linear(double t) {
    return {{0, 0}, {t, 1}};
}
Curve quick(double t) {
    return {{0, 0}, {t / 4, 0.5}, {t / 2, 0.8}, {t, 1}};
}
Curve slow(double t) {
    return {{0, 0}, {t / 2, 0.2}, {t * 0.75, 0.5}, {t, 1}};
}
Curve s_shaped(double t) {
    return {{0, 0}, {t * 0.2, 0.05}, {t * 0.4, 0.3}, {t * 0.6, 0.7}, {t * 0.8, 0.95}, {t, 1}};
}
// Most buyers or tenants come at one date (an auction, the start of a season).
Curve stepped(double t) {
    return {{0, 0}, {t * 0.3, 0.05}, {t * 0.3, 0.6}, {t, 1}};
}
// Ten points of an exponential distribution cut at `t`.
Curve smooth(double t) {
    Curve c;
    for (int k = 0; k < 10; ++k) {
        const double f = (1 - std::exp(-3.0 * k / 9)) / (1 - std::exp(-3.0));
        c.push_back({t * k / 9, k == 9 ? 1.0 : f});
    }
    return c;
}

struct Income {
    double amount = 0; // expected revenue, or specific income per time unit
    Curve curve = {};
};

struct Variant {
    Text description;
    double cost = 0;
    double duration = 0;
    std::vector<Income> sales = {};
    std::vector<Income> expls = {};
};

struct Object {
    const char* code;
    Text description;
    double cost; // 0 in a database of own real estate
    std::vector<Variant> variants;
    bool absent = false;
};

struct Database {
    char type;
    const char* code;
    Text name;
    Text money;
    Text time;
    std::vector<Object> objects;
};

const Text kAsItIs = {"Without modernisation", "Без модернизации"};

// clang-format off
const Database kPurchase = {
    'A', "101",
    {"City real estate for purchase", "Городская недвижимость для покупки"},
    {"USD thousand", "тыс. USD"}, {"months", "месяцы"},
    {
        {"310101", {"Two-room flat, 54 sq. m, 12 Park Street, 3rd floor, brick building of 1985",
                    "Двухкомнатная квартира, 54 кв. м, ул. Парковая, 12, 3 этаж, кирпичный дом 1985 года"},
         62, {{kAsItIs, 0, 0, {{70, quick(6)}, {74, slow(10)}}, {{0.45, quick(2)}}},
              {{"Cosmetic repair: walls, floors, plumbing", "Косметический ремонт: стены, полы, сантехника"},
               6, 2, {{80, s_shaped(8)}}, {{0.55, quick(2)}}},
              {{"Full renovation with a new kitchen and bathroom", "Капитальный ремонт с новой кухней и санузлом"},
               14, 4, {{92, s_shaped(9)}, {86, quick(4)}}, {{0.65, linear(3)}}}}},
        {"310102", {"One-room flat, 36 sq. m, 5 Lake Road, ground floor",
                    "Однокомнатная квартира, 36 кв. м, Озёрная ул., 5, первый этаж"},
         41, {{kAsItIs, 0, 0, {{46, linear(5)}}, {{0.32, quick(2)}}},
              {{"Conversion into a studio with a kitchen niche", "Перепланировка в студию с кухонной нишей"},
               5, 1.5, {{53, s_shaped(7)}}, {{0.38, stepped(3)}}}}},
        {"310103", {"Three-room flat, 78 sq. m, 40 Central Avenue, 7th floor",
                    "Трёхкомнатная квартира, 78 кв. м, Центральный проспект, 40, 7 этаж"},
         95, {{kAsItIs, 0, 0, {{104, slow(12)}}, {{0.7}}},
              {{"Redevelopment into four rooms", "Перепланировка в четырёхкомнатную"},
               12, 3, {{121, smooth(10)}}, {{0.85, s_shaped(4)}}}}},
        {"310104", {"Penthouse, 120 sq. m, River Tower, 21st floor, with a terrace",
                    "Пентхаус, 120 кв. м, башня «Речная», 21 этаж, с террасой"},
         240, {{kAsItIs, 0, 0, {{262, slow(18)}}, {{1.6, s_shaped(6)}}},
               {{"Terrace glazing and smart-home equipment", "Остекление террасы и система «умный дом»"},
                25, 3, {{295, s_shaped(14)}, {285, quick(8)}}}}},
        {"320101", {"Detached house, 140 sq. m, plot of 6 ares, Green Village",
                    "Отдельный дом, 140 кв. м, участок 6 соток, посёлок Зелёный"},
         130, {{kAsItIs, 0, 0, {{142, slow(12)}}, {{0.9, linear(4)}}},
               {{"Insulation of the walls and a new roof", "Утепление стен и новая кровля"},
                15, 4, {{165, s_shaped(10)}}},
               {{"Extension with a second floor", "Надстройка второго этажа"},
                38, 7, {{198, smooth(15)}}, {{1.35, quick(4)}}}}},
        {"320102", {"Country cottage, 90 sq. m, Pine Lake", "Загородный коттедж, 90 кв. м, Сосновое озеро"},
         74, {{kAsItIs, 0, 0, {{79, stepped(6)}}},
              {{"Year-round heating and a well", "Круглогодичное отопление и скважина"},
               9, 2, {{90, s_shaped(9)}}, {{0.6, slow(5)}}}}},
        {"320103", {"Terraced house, 110 sq. m, 7 Oak Lane (reserved by another buyer)",
                    "Таунхаус, 110 кв. м, Дубовый пер., 7 (зарезервирован другим покупателем)"},
         105, {{kAsItIs, 0, 0, {{116, quick(5)}}, {{0.75, linear(3)}}}}, true},
        {"330101", {"Office, 200 sq. m, Meridian business centre, 5th floor",
                    "Офис, 200 кв. м, бизнес-центр «Меридиан», 5 этаж"},
         180, {{kAsItIs, 0, 0, {{190, slow(14)}}, {{2.1, s_shaped(6)}}},
               {{"Open-space refit", "Переоборудование в открытое пространство"},
                20, 2, {}, {{2.6, quick(4)}, {2.9, slow(9)}}},
               {{"Division into four small offices", "Разделение на четыре малых офиса"},
                28, 3, {{220, s_shaped(12)}}, {{3.1, smooth(8)}}}}},
        {"330102", {"Office, 65 sq. m, 3 Station Square, ground floor",
                    "Офис, 65 кв. м, Вокзальная пл., 3, первый этаж"},
         58, {{kAsItIs, 0, 0, {{63, linear(6)}}, {{0.7, quick(3)}}}}},
        {"330103", {"Office building, 450 sq. m, 18 Industrial Street",
                    "Офисное здание, 450 кв. м, Промышленная ул., 18"},
         390, {{kAsItIs, 0, 0, {{430, slow(20)}}, {{4.2, s_shaped(10)}}},
               {{"Complete refurbishment to class B", "Реконструкция до класса B"},
                60, 6, {{505, slow(16)}}, {{5.6, s_shaped(8)}}}}},
        {"340101", {"Shop, 80 sq. m, 9 Market Street, with a shop window",
                    "Магазин, 80 кв. м, Рыночная ул., 9, с витриной"},
         88, {{kAsItIs, 0, 0, {{95, s_shaped(9)}}, {{1.05, quick(2)}}},
              {{"New shop front and signage", "Новый фасад и вывеска"}, 7, 1, {}, {{1.25, quick(2)}}}}},
        {"340102", {"Kiosk pavilion, 24 sq. m, by the metro station",
                    "Торговый павильон, 24 кв. м, у станции метро"},
         19, {{kAsItIs, 0, 0, {{21}}, {{0.42, stepped(1)}}}}},
        {"340103", {"Ground-floor shop, 150 sq. m, Shopping Arcade",
                    "Магазин на первом этаже, 150 кв. м, торговая галерея"},
         160, {{kAsItIs, 0, 0, {{172, s_shaped(12)}}, {{1.9, slow(6)}}},
               {{"Conversion into a café", "Переоборудование под кафе"}, 22, 3, {}, {{2.5, s_shaped(7)}}},
               {{"Split into two shops", "Разделение на два магазина"},
                12, 2, {{190, quick(8)}}, {{2.3, quick(3)}}}}},
        {"340104", {"Warehouse with a showroom, 300 sq. m, Ring Road, km 4",
                    "Склад с выставочным залом, 300 кв. м, Кольцевая дорога, 4 км"},
         140, {{kAsItIs, 0, 0, {}, {{1.4}}},
               {{"Showroom fit-out", "Оборудование выставочного зала"},
                18, 2, {{175, smooth(12)}}, {{1.9, s_shaped(6)}}}}},
    }};

const Database kOwn = {
    'B', "201001",
    {"Own real estate: modernisation", "Собственная недвижимость: модернизация"},
    {"USD thousand", "тыс. USD"}, {"months", "месяцы"},
    {
        {"410201", {"Own flat, 48 sq. m, 4 Birch Street", "Собственная квартира, 48 кв. м, Берёзовая ул., 4"},
         0, {{kAsItIs, 0, 0, {{58, quick(5)}}, {{0.38, quick(1.5)}}},
             {{"Cosmetic repair", "Косметический ремонт"}, 4, 1.5, {{63, s_shaped(6)}}, {{0.45, quick(2)}}},
             {{"Renovation and furniture for renting out", "Ремонт и мебель для сдачи в аренду"},
              9, 2.5, {}, {{0.58, quick(2)}}}}},
        {"410202", {"Own flat, 70 sq. m, 15 Harbour View", "Собственная квартира, 70 кв. м, ул. Портовая, 15"},
         0, {{kAsItIs, 0, 0, {{96, slow(9)}}, {{0.62, linear(3)}}},
             {{"Redevelopment into two studios", "Перепланировка в две студии"},
              16, 4, {{118, s_shaped(10)}}, {{0.95, s_shaped(5)}}}}},
        {"410203", {"Own studio, 28 sq. m, Student Quarter", "Собственная студия, 28 кв. м, Студенческий квартал"},
         0, {{kAsItIs, 0, 0, {}, {{0.3, stepped(1)}}},
             {{"Furnishing for short-term letting", "Меблировка для краткосрочной аренды"},
              3, 0.5, {}, {{0.42, quick(1.5)}, {0.5, slow(4)}}}}},
        {"420201", {"Family house, 160 sq. m, 2 Meadow Road", "Семейный дом, 160 кв. м, Луговая ул., 2"},
         0, {{kAsItIs, 0, 0, {{185, slow(14)}}},
             {{"Energy-saving refit", "Энергосберегающая модернизация"},
              18, 4, {{210, s_shaped(12)}}, {{1.2, linear(5)}}},
             {{"Conversion into a guest house", "Переоборудование в гостевой дом"},
              35, 8, {}, {{2.1, smooth(10)}}}}},
        {"420202", {"Summer house, 60 sq. m, on the river bank", "Летний дом, 60 кв. м, на берегу реки"},
         0, {{kAsItIs, 0, 0, {{38}}},
             {{"Winterisation", "Утепление для зимнего проживания"},
              6, 3, {{49, s_shaped(9)}}, {{0.35, slow(6)}}}}},
        {"420203", {"Garden plot with an old house, 12 ares", "Садовый участок со старым домом, 12 соток"},
         0, {{kAsItIs, 0, 0, {{30, linear(8)}}},
             {{"Demolition and a new cottage", "Снос и строительство нового коттеджа"},
              55, 10, {{105, s_shaped(12)}}, {{0.75, quick(4)}}}}},
        {"430201", {"Own office, 120 sq. m, 8 Tower Street", "Собственный офис, 120 кв. м, Башенная ул., 8"},
         0, {{kAsItIs, 0, 0, {}, {{1.3, s_shaped(4)}}},
             {{"Open-space refit", "Переоборудование в открытое пространство"},
              12, 2, {{160, slow(12)}}, {{1.7, quick(3)}}}}},
        {"430202", {"Office floor, 400 sq. m, former factory building",
                    "Офисный этаж, 400 кв. м, бывший заводской корпус"},
         0, {{kAsItIs, 0, 0, {}, {{2.4, slow(8)}}},
             {{"Loft conversion into a coworking space", "Переоборудование лофта в коворкинг"},
              45, 6, {}, {{4.1, s_shaped(6)}}},
             {{"Division into ten small offices", "Разделение на десять малых офисов"},
              30, 4, {{380, s_shaped(16)}}, {{3.6, smooth(6)}}}}},
        {"430203", {"Basement premises, 90 sq. m, Central Square (let until further notice)",
                    "Подвальное помещение, 90 кв. м, Центральная пл. (сдано в аренду)"},
         0, {{kAsItIs, 0, 0, {}, {{0.5, linear(3)}}}}, true},
        {"440201", {"Own shop, 70 sq. m, 21 High Street", "Собственный магазин, 70 кв. м, Главная ул., 21"},
         0, {{kAsItIs, 0, 0, {{82, s_shaped(8)}}, {{0.9, quick(2)}}},
             {{"New shop front and lighting", "Новая витрина и освещение"}, 5, 1, {}, {{1.1, quick(2)}}}}},
        {"440202", {"Ground floor of own house, 55 sq. m", "Первый этаж собственного дома, 55 кв. м"},
         0, {{kAsItIs, 0, 0, {}, {{0.4}}},
             {{"Conversion into a pharmacy", "Переоборудование под аптеку"},
              14, 3, {}, {{0.95, s_shaped(5)}, {1.05, slow(9)}}}}},
        {"440203", {"Market stall, 15 sq. m, Central Market", "Торговое место, 15 кв. м, Центральный рынок"},
         0, {{kAsItIs, 0, 0, {{11, linear(4)}}, {{0.22, stepped(0.5)}}}}},
        {"440204", {"Garage block of six boxes, Ring Road", "Гаражный блок на шесть боксов, Кольцевая дорога"},
         0, {{kAsItIs, 0, 0, {{42, slow(10)}}, {{0.3, quick(2)}}},
             {{"Conversion into a car service station", "Переоборудование в автосервис"},
              20, 3, {}, {{0.9, s_shaped(5)}}}}},
    }};
// clang-format on

// Where a task is on its road when the demonstration is written.
enum class Road { Entered, Queued, Solved };

struct Task {
    const char* number; // the code is DEME + number (eng) or DEMR + number (rus)
    Text name;
    const Database* database;
    int tipz;
    Road road;
    double days_ago; // when it was entered
    // Without pay-back one entry per investment variant; with pay-back the money of all of them.
    std::vector<InvestmentVariant> money;
    std::vector<const char*> objects; // the codes of the selected objects
    double ps = 0;
    double por = 0;
    double mzad = 0;
    std::int32_t ogrn = 0;
    double srok = 0;
    double ver = 0;
    double soi = 0;
    double tmx = 0;
    double tmn = 0;
    std::int32_t nt = 0;
    double nsd = 0;
    double delta = 1;
    std::int32_t prk = 0;
};

// clang-format off
const std::vector<Task> kTasks = {
    {.number = "01", .name = {"Resale of flats and houses, three budgets", "Перепродажа квартир и домов, три бюджета"},
     .database = &kPurchase, .tipz = 1, .road = Road::Entered, .days_ago = 12,
     .money = {{150, 0}, {150, 100}, {250, 150}},
     .objects = {"310101", "310102", "310103", "320101", "320102"},
     .ps = 14, .por = 1.05, .mzad = 6},
    {.number = "02", .name = {"Quick resale with pay-back within half a year", "Быстрая перепродажа с окупаемостью за полгода"},
     .database = &kPurchase, .tipz = 2, .road = Road::Solved, .days_ago = 9,
     .money = {{200, 60}},
     .objects = {"310101", "310102", "330102", "340101"},
     .ps = 12, .por = 1.05, .mzad = 4, .srok = 8, .ver = 0.3, .soi = 6, .tmx = 0.9, .tmn = 0.5, .nt = 3,
     .delta = 5},
    {.number = "03", .name = {"Renting out own premises after modernisation",
                              "Сдача собственных помещений в аренду после модернизации"},
     .database = &kOwn, .tipz = 3, .road = Road::Solved, .days_ago = 7,
     .money = {{60, 0}, {60, 40}},
     .objects = {"410201", "410203", "430201", "430202", "440201", "440202", "440204"},
     .ps = 10, .mzad = 8},
    {.number = "04", .name = {"Modernisation for rent with pay-back of the investment",
                              "Модернизация под аренду с окупаемостью вложений"},
     .database = &kOwn, .tipz = 4, .road = Road::Queued, .days_ago = 3,
     .money = {{50, 30}},
     .objects = {"410201", "410203", "430201", "440201", "440202", "440204"},
     .ps = 10, .mzad = 6, .srok = 6, .ver = 0.25, .tmx = 24, .tmn = 12, .nt = 3, .nsd = 5, .delta = 2},
    {.number = "05", .name = {"Offices and shops to let, at most two objects",
                              "Офисы и магазины в аренду, не более двух объектов"},
     .database = &kPurchase, .tipz = 3, .road = Road::Entered, .days_ago = 5,
     .money = {{300, 0}, {300, 200}},
     .objects = {"330101", "330102", "330103", "340101", "340103", "340104"},
     .ps = 13, .por = 0.009, .mzad = 4, .ogrn = 2, .delta = 2},
    {.number = "06", .name = {"Preparing own houses and a flat for sale", "Подготовка собственных домов и квартиры к продаже"},
     .database = &kOwn, .tipz = 1, .road = Road::Entered, .days_ago = 2,
     .money = {{40, 20}},
     .objects = {"420201", "420202", "420203", "410202"},
     .ps = 15, .mzad = 10, .prk = 1},
};
// clang-format on

struct Language {
    const char* suffix;
    bool russian;
    char decimal_char; // only shown in the lines of the runs, which nobody sees here
};
const Language kLanguages[] = {{"eng", false, '.'}, {"rus", true, ','}};

// The text in the language; the files store it in the language's code page, which must hold
// every character of it.
std::string in(const Text& t, const Language& lang) {
    const char* text = lang.russian ? t.rus : t.eng;
    if (!representable(text, codepage_for_suffix(lang.suffix))) {
        throw std::logic_error(std::string("the code page of ") + lang.suffix + " cannot store \"" +
                               text + "\"");
    }
    return text;
}

BdonData make_bdon(const Database& db, const Language& lang) {
    BdonData d;
    d.header.language = lang.suffix;
    d.header.type = std::string(1, db.type);
    d.header.code = db.code;
    d.header.name = in(db.name, lang);
    d.header.mode = db.type == 'A' ? 1 : 2;
    d.header.cost_unit = in(db.money, lang);
    d.header.time_unit = in(db.time, lang);
    d.header.m = std::int32_t(db.objects.size());
    for (const Object& o : db.objects) {
        d.objects.push_back({o.code, in(o.description, lang), o.cost,
                             std::int32_t(o.variants.size()) - 1, o.absent ? "*" : ""});
        auto& variants = d.variants.emplace_back();
        auto& sales = d.sale_variants.emplace_back();
        auto& expls = d.expl_variants.emplace_back();
        auto& sale_points = d.sale_points.emplace_back();
        auto& expl_points = d.expl_points.emplace_back();
        for (const Variant& v : o.variants) {
            variants.push_back({in(v.description, lang), v.cost, v.duration,
                                std::int32_t(v.sales.size()), std::int32_t(v.expls.size())});
            auto& s = sales.emplace_back();
            auto& sp = sale_points.emplace_back();
            for (const Income& income : v.sales) {
                s.push_back({income.amount, std::int32_t(income.curve.size())});
                sp.push_back(income.curve);
            }
            auto& e = expls.emplace_back();
            auto& ep = expl_points.emplace_back();
            for (const Income& income : v.expls) {
                e.push_back({income.amount, std::int32_t(income.curve.size())});
                ep.push_back(income.curve);
            }
        }
    }
    store_usable_counts(d);
    return d;
}

TaskDraft make_draft(const Task& t, const std::string& code, const Language& lang,
                     const BdonData& bdon) {
    TaskDraft d;
    TaskHeader& h = d.header;
    h.shifr = code;
    h.name = in(t.name, lang);
    h.reg = bdon.header.mode;
    h.tipz = t.tipz;
    h.shifr_db = dbor_code(bdon.header);
    h.prmp = t.tipz <= 2 ? 1 : 2;
    h.prok = t.tipz % 2 == 0 ? 1 : 0;
    h.stat = h.prok;
    h.nsd = t.nsd;
    h.soi = t.soi;
    h.tmx = t.tmx;
    h.tmn = t.tmn;
    h.nt = t.nt;
    h.nsg = h.prok ? t.nt : std::int32_t(t.money.size());
    h.ps = t.ps;
    h.por = t.por;
    h.mzad = t.mzad;
    h.ogrn = t.ogrn;
    h.srok = t.srok;
    h.ver = t.ver;
    h.toc = kRoundNearest;
    h.delta = t.delta;
    h.prk = t.prk;
    d.variants =
        h.prok ? std::vector<InvestmentVariant>(std::size_t(h.nsg), t.money.front()) : t.money;

    for (std::size_t i : listed_objects(bdon, t.tipz)) {
        const DborObject& o = bdon.objects[i];
        const bool selected = std::find_if(t.objects.begin(), t.objects.end(), [&](const char* c) {
                                  return o.code == c;
                              }) != t.objects.end();
        if (selected && o.absent()) {
            throw std::logic_error(code + ": the absent object " + o.code + " cannot be selected");
        }
        d.row_marks.push_back(selected);
    }
    const auto marked = std::count(d.row_marks.begin(), d.row_marks.end(), true);
    if (std::size_t(marked) != t.objects.size()) {
        throw std::logic_error(code + ": a selected object is not listed for its task type");
    }
    return d;
}

class SilentRun : public RunProgress {
public:
    void show(RunLine, const std::string&) override {}
};

// Whether any plan of the solution takes an object.
bool takes_an_object(const Solution& s) {
    for (const auto& plan : s.plans) {
        for (const ChoiceTriple& c : plan) {
            if (c.real()) {
                return true;
            }
        }
    }
    return false;
}

// Writes the databases and tasks of one language into the staging Workspace `stage`; returns
// their protocol entries.
std::vector<ProtocolEntry> write_language(const std::string& stage, const std::string& workspace,
                                          const LanguageShell& shell, const Language& lang,
                                          double now) {
    const CodePage cp = shell.codepage;
    const std::string today = numeric_date_text(now);
    std::vector<BdonData> databases;
    for (const Database* db : {&kPurchase, &kOwn}) {
        BdonData bdon = make_bdon(*db, lang);
        write_bdon(stage, lang.suffix, bdon, today, cp);
        databases.push_back(std::move(bdon));
    }

    const SolveSetup setup{stage, shell, lang.decimal_char, SchemeParameters{},
                           read_info_file(workspace, shell)};
    std::vector<ProtocolEntry> entries;
    for (const Task& t : kTasks) {
        const std::string code = std::string("DEM") + (lang.russian ? "R" : "E") + t.number;
        const BdonData& bdon = databases[t.database == &kPurchase ? 0 : 1];
        const TaskDraft draft = make_draft(t, code, lang, bdon);
        const PreparedTask task = prepare_task(draft, bdon, shell.file_name);
        if (task.problem != DraftProblem::None) {
            throw std::logic_error(
                code + ": " + draft_problem_text(shell, task.problem, draft.header, task.size));
        }
        save_task(stage, task, bdon, cp);

        ProtocolEntry e;
        e.code = code;
        e.stored_name = stored_task_name(draft.header.name, cp);
        e.entered = now - t.days_ago;
        e.changed = e.entered + 0.02;
        if (t.road != Road::Entered) {
            queue_task_input(stage, code);
            mark_queued(e, e.changed + 1.1);
        }
        if (t.road == Road::Solved) {
            SilentRun progress;
            const TaskRun run = solve_task(code, setup, progress);
            if (!run.result.complete || !takes_an_object(run.solution)) {
                throw std::logic_error(code + ": the optimisation found no plan");
            }
            take_back_solution(stage, code, lang.suffix, cp, today);
            mark_solved(e, e.queued + 0.05);
        }
        entries.push_back(e);
    }
    return entries;
}

const char* const kDataFolders[] = {"Dbor", "Data", "Solving"};

bool holds_user_data(const std::string& workspace) {
    for (const char* folder : kDataFolders) {
        std::error_code ec;
        const fs::path dir = ws_path(workspace, folder);
        if (fs::exists(dir, ec) && !fs::is_empty(dir, ec)) {
            return true;
        }
    }
    return file_exists(ws_path(workspace, kProtocolFile));
}

// Moves the staged files into the Workspace, the protocol last. On a failure the files moved so
// far are removed again.
void publish(const std::string& stage, const std::string& workspace) {
    if (holds_user_data(workspace)) {
        throw std::runtime_error("the Workspace received data while the demonstration was built");
    }
    std::vector<std::pair<fs::path, fs::path>> moves;
    for (const char* folder : kDataFolders) {
        make_dirs(ws_path(workspace, folder));
        for (const std::string& name : find_files(ws_path(stage, folder), "*")) {
            moves.emplace_back(ws_path(stage, std::string(folder) + "/" + name),
                               ws_path(workspace, std::string(folder) + "/" + name));
        }
    }
    make_dirs(ws_path(workspace, "System"));
    moves.emplace_back(ws_path(stage, kProtocolFile), ws_path(workspace, kProtocolFile));
    std::vector<fs::path> moved;
    try {
        for (const auto& [from, to] : moves) {
            fs::rename(from, to);
            moved.push_back(to);
        }
    } catch (...) {
        for (const fs::path& p : moved) {
            std::error_code ec;
            fs::remove(p, ec);
        }
        throw;
    }
}

int write_demo(const std::string& workspace) {
    if (holds_user_data(workspace)) {
        std::cout << "kov-demo: \"" << workspace
                  << "\" already holds data; the demonstration is not written\n";
        return 0;
    }
    std::vector<std::pair<LanguageShell, const Language*>> shells;
    for (const Language& lang : kLanguages) {
        const std::string path = ws_path(workspace, "Shells/" + shell_file_name(lang.suffix));
        if (file_exists(path)) {
            shells.emplace_back(load_shell(path), &lang);
        }
    }
    if (shells.empty()) {
        std::cout << "kov-demo: \"" << workspace << "\" has no eng or rus language shell\n";
        return 0;
    }

    const std::string stage = ws_path(workspace, ".kov-demo");
    std::error_code ec;
    fs::remove_all(stage, ec);
    try {
        for (const char* folder : {"Dbor", "Data", "Solving", "System"}) {
            make_dirs(ws_path(stage, folder));
        }
        const double now = now_day_count();
        std::vector<ProtocolEntry> protocol;
        for (const auto& [shell, lang] : shells) {
            for (ProtocolEntry& e : write_language(stage, workspace, shell, *lang, now)) {
                protocol.push_back(std::move(e));
            }
        }
        write_protocol(stage, protocol);
        publish(stage, workspace);
        fs::remove_all(stage, ec);
        std::cout << "kov-demo: demonstration written into \"" << workspace
                  << "\": " << 2 * shells.size() << " databases, " << protocol.size() << " tasks\n";
        return 0;
    } catch (const std::exception& e) {
        fs::remove_all(stage, ec);
        std::cerr << "kov-demo: " << e.what() << "\n";
        return 1;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kov-demo WORKSPACE\n"
                     "Writes the demonstration databases and tasks into a Workspace that holds no "
                     "databases, tasks or protocol yet.\n";
        return 2;
    }
    return write_demo(argv[1]);
}
