#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/reports.h"
#include "analysis/text_pack.h"
#include "astro/chart.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "support/report_data.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::ReadFile;
using test::ScratchDir;

using test::kReportData;

TextBase Packed(EntryKind kind, const std::string& file) { return test::PackedReportBase(kind, file); }

TextBase Raw(const std::string& name, const std::vector<const char*>& utf8Lines) {
    std::vector<std::string> lines;
    for (const char* l : utf8Lines) lines.push_back(Utf8ToCp1251(l));
    return TextBase(name, lines);
}

struct Bases {
    TextBase aspects = Packed(EntryKind::Aspect, "aspects.txt");
    TextBase houses = Packed(EntryKind::House, "houses.txt");
    TextBase natal = Packed(EntryKind::Natal, "natal.txt");
    TextBase signs = Packed(EntryKind::Sign, "signs.txt");
};
const Bases& TestBases() {
    static const Bases b;
    return b;
}

TChart ChartOf(const std::array<double, kBodyCount>& lon) {
    TChart c;
    for (int i = 0; i < kBodyCount; ++i) {
        c[i].Lon = lon[static_cast<std::size_t>(i)];
        SetIntegerFields(c[i]);
    }
    return c;
}

// Fixed charts: the woman's and the man's longitudes, and the woman's houses
// 30 degrees wide from 5 degrees Aries.
const TChart kWoman = ChartOf({17, 100, 200, 250, 300, 45, 135, 160, 220, 280});
const TChart kMan = ChartOf({15, 70, 25, 105, 195, 285, 200, 140, 330, 250});

TCusps EvenCusps() {
    TCusps c;
    for (int h = 1; h <= 12; ++h) c[h] = 30.0 * (h - 1) + 5;
    return c;
}

PersonRecord Person(const char* name, const char* place, const char* date, const char* time, bool timeKnown) {
    PersonRecord p{};
    p.Name.set(PadRight(Utf8ToCp1251(name), 20));
    p.Place.set(Utf8ToCp1251(place));
    p.DateText.set(date);
    p.TimeText.set(time);
    p.TimeKnown = timeKnown ? 1 : 0;
    return p;
}

const PersonRecord kWomanRecord = Person("Анна {Проба}", "Москва", "05.06.1975", "14:30", true);
const PersonRecord kManRecord = Person("Борис Петров", "Санкт-Петербург (Ленинград)", "17.03.1972", " --- ", false);

std::vector<std::string> RtfLines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t p; (p = text.find("\r\n", start)) != std::string::npos; start = p + 2)
        out.push_back(Cp1251ToUtf8(text.substr(start, p - start)));
    EXPECT_EQ(start, text.size()) << "the last line is not ended by CR LF";
    return out;
}

struct Pair {
    AspectGrid grid;
    HouseOverlay overlay;
    NatalAspectGrid natal;
    Pair() {
        FindMutualAspects(kWoman, kMan, grid);
        PlaceInHouses(kMan, EvenCusps(), overlay);
        FindNatalAspects(kMan, natal);
    }
};

PairScore PairReport(const std::string& dir, const PersonRecord& woman = kWomanRecord,
                     const Pair& pair = Pair()) {
    const Bases& b = TestBases();
    return WritePairReport({woman, kManRecord, pair.grid, pair.overlay, b.aspects, b.houses, dir});
}

void ManReport(const std::string& dir, const TChart& man = kMan, const NatalAspectGrid* natal = nullptr) {
    NatalAspectGrid own;
    FindNatalAspects(man, own);
    const Bases& b = TestBases();
    WriteManReport({kManRecord, man, natal ? *natal : own, b.natal, b.signs, dir});
}

// Compares with the expected bytes under tests/data/report; with
// PELORIN_WRITE_EXPECTED set the expected file is written instead.
void ExpectSameAsFile(const std::string& actual, const std::string& expectedName) {
    const std::string path = kReportData + expectedName;
    if (std::getenv("PELORIN_WRITE_EXPECTED")) test::WriteFile(path, actual);
    EXPECT_EQ(actual, ReadFile(path)) << "differs from " << path;
}

TEST(PairReport, WholeFileAsExpected) {
    ScratchDir dir;
    const PairScore s = PairReport(dir.path());
    EXPECT_EQ(s.PlusTotal, 16);
    EXPECT_EQ(s.MinusTotal, -17);
    EXPECT_EQ(s.CompatPercent, 48);
    ExpectSameAsFile(ReadFile(dir.file("Itogo.rtf")), "Itogo.rtf");
}

TEST(ManReport, WholeFileAsExpected) {
    ScratchDir dir;
    ManReport(dir.path());
    ExpectSameAsFile(ReadFile(dir.file("Itogo_Men.rtf")), "Itogo_Men.rtf");
}

TEST(PairReport, TextsByMansBodyThenWomansThenHouses) {
    ScratchDir dir;
    PairReport(dir.path());
    const std::string plus = Cp1251ToUtf8(ReadFile(dir.file("Plus.txt")));
    const std::string minus = Cp1251ToUtf8(ReadFile(dir.file("Minus.txt")));
    // The man's Venus entry stands first in the database, but his Sun comes first.
    const std::vector<std::string> plusOrder{"Общие цели", "Прочность союза.", "Нежность без слов.",
                                             "Он её вдохновляет.", "Страсть в партнёрстве.", "Общие убеждения."};
    const std::vector<std::string> minusOrder{"Борьба за власть.", "Вспыльчивость с обеих сторон.",
                                              "Обещания больше дел.", "Внезапные перемены.", "Холодность в браке."};
    for (const auto& [text, order] : {std::pair{plus, plusOrder}, std::pair{minus, minusOrder}}) {
        std::size_t last = 0;
        for (const std::string& t : order) {
            const std::size_t at = text.find(t);
            ASSERT_NE(at, std::string::npos) << t;
            EXPECT_GE(at, last) << t;
            last = at;
        }
    }
    // The line after a header is never copied; the man's Moon never counts; an
    // entry without weight is passed over for the next one with the same key.
    EXPECT_EQ(plus.find("Солнце М"), std::string::npos);
    EXPECT_EQ(plus.find("Луна мужчины"), std::string::npos);
    EXPECT_EQ(minus.find("Пропускается"), std::string::npos);
    EXPECT_NE(minus.find("     -4 балла\r\nОбещания больше дел."), std::string::npos);
    EXPECT_NE(minus.find("     -7 баллов\r\n"), std::string::npos);
    EXPECT_NE(minus.find("     -1 балл\r\n"), std::string::npos);
}

TEST(PairReport, WomanWithoutBirthTimeGetsNoHouseTexts) {
    ScratchDir dir;
    PersonRecord woman = kWomanRecord;
    woman.TimeKnown = 0;
    const PairScore s = PairReport(dir.path(), woman);
    EXPECT_EQ(s.PlusTotal, 9);    // 16 less the houses' 2 + 4 + 1
    EXPECT_EQ(s.MinusTotal, -14);  // -17 less Saturn's -3
    const std::string rtf = Cp1251ToUtf8(ReadFile(dir.file("Itogo.rtf")));
    for (const char* house : {"Он её вдохновляет.", "Страсть в партнёрстве.", "Холодность в браке."})
        EXPECT_EQ(rtf.find(house), std::string::npos) << house;
    EXPECT_NE(rtf.find("Прочность союза."), std::string::npos);
    EXPECT_NE(rtf.find("СОВМЕСТИМОСТЬ 39%\r\n"), std::string::npos);
}

TEST(PairReport, NothingMatchedSaysSoAndEachListIsOneLine) {
    ScratchDir dir;
    Pair none;
    ClearAspectGrid(none.grid);
    none.overlay.fill(0);
    const PairScore s = PairReport(dir.path(), kWomanRecord, none);
    EXPECT_FALSE(s.CompatPercent.has_value());
    const auto lines = RtfLines(ReadFile(dir.file("Itogo.rtf")));
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[10], "\\par \\pard\\qc\\b\\f1\\fs20 СОВМЕСТИМОСТЬ не определена: факторы не найдены");
    EXPECT_EQ(lines[14], "\\par ");  // the empty Plus.txt
    EXPECT_EQ(lines[15], "\\par \\pard\\qc\\b\\f1\\i\\fs20  Негативные факторы");
    EXPECT_EQ(lines[17], "\\par ");  // the empty Minus.txt
    EXPECT_EQ(lines[18], "\\par");
}

TEST(PairReport, OnlyPositiveWeightsGiveOneHundred) {
    ScratchDir dir;
    Pair p;
    ClearAspectGrid(p.grid);
    p.grid[kSun][kSun] = 0;  // +3
    p.overlay.fill(0);
    const PairScore s = PairReport(dir.path(), kWomanRecord, p);
    EXPECT_EQ(s.CompatPercent, 100);
    const auto lines = RtfLines(ReadFile(dir.file("Itogo.rtf")));
    EXPECT_EQ(lines[10], "\\par \\pard\\qc\\b\\f1\\fs20 СОВМЕСТИМОСТЬ 100%");
    EXPECT_EQ(lines[17], "\\par ");
}

TEST(PairReport, DatabaseTextsAreEscapedForRichText) {
    EXPECT_EQ(RtfEscape("a\\b{c}d"), "a\\\\b\\{c\\}d");
    const std::string cyr = Utf8ToCp1251("Ёлка «ёж»");
    EXPECT_EQ(RtfEscape(cyr), cyr);  // nothing else changes
    ScratchDir dir;
    PairReport(dir.path());
    const std::string rtf = Cp1251ToUtf8(ReadFile(dir.file("Itogo.rtf")));
    EXPECT_NE(rtf.find("\\par Общие цели \\{и общий путь\\}.\r\n"), std::string::npos);
    EXPECT_NE(rtf.find("\\par Вторая строка: C:\\\\путь\\\\к\\\\себе.\r\n"), std::string::npos);
    // The name of a person is escaped too.
    EXPECT_NE(rtf.find("\\par    Анна \\{Проба\\}"), std::string::npos);
    // Plus.txt itself keeps the text as the database has it.
    EXPECT_NE(Cp1251ToUtf8(ReadFile(dir.file("Plus.txt"))).find("Общие цели {и общий путь}."), std::string::npos);
}

TEST(PairReport, IdentityLineFields) {
    // The fields stand at the identity paragraph's tab stops, without their
    // padding; a place longer than the record's 26 characters is cut there.
    EXPECT_EQ(Cp1251ToUtf8(IdentityLine(kManRecord)),
              "\\par    Борис Петров\\tab Санкт-Петербург (Ленинград\\tab 17.03.1972\\tab  ---");
    PersonRecord full = Person("ЖжЖжЖжЖжЖжЖжЖжЖжЖжЖж12", "", "01.01.2000", "12:00", true);
    full.Place.set(std::string(30, 'P'));
    EXPECT_EQ(IdentityLine(full), "\\par    " + full.Name.str() + "\\tab " + std::string(26, 'P') +
                                      "\\tab 01.01.2000\\tab 12:00");
    // The widest line fits the page the report names: 1.5 cm margins of A4 leave
    // 10206 twips, the last stop (9216) and five characters of time (720) take 9936.
    ScratchDir dir;
    PairReport(dir.path());
    const std::string rtf = ReadFile(dir.file("Itogo.rtf"));
    EXPECT_NE(rtf.find("\\paperw11906\\paperh16838\\margl850\\margr850"), std::string::npos);
    EXPECT_NE(rtf.find("\\tx3600\\tx7488\\tx9216\r\n"), std::string::npos);
    EXPECT_LE(9216 + 5 * 144, 11906 - 2 * 850);
}

TEST(PairReport, LookupErrorLeavesTheOldReport) {
    ScratchDir dir;
    test::WriteFile(dir.file("Itogo.rtf"), "old");
    const TextBase bad = Raw("data1.dat", {"*  12   0   1   0   0   0   1", "-", "текст", "@"});
    Pair p;
    const Bases& b = TestBases();
    EXPECT_THROW(WritePairReport({kWomanRecord, kManRecord, p.grid, p.overlay, bad, b.houses, dir.path()}), Error);
    EXPECT_EQ(ReadFile(dir.file("Itogo.rtf")), "old");
    // A data directory that does not exist is a file error naming it.
    try {
        PairReport(dir.path() + "missing/");
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("missing"), std::string::npos);
    }
}

// ---- Man's report ----------------------------------------------------------

NatalAspectGrid NoAspects() {
    NatalAspectGrid g;
    ClearAspectGrid(g);
    for (int i = 0; i < kBodyCount; ++i) g[static_cast<std::size_t>(i)][static_cast<std::size_t>(i)] = 0;
    return g;
}

void Set(NatalAspectGrid& g, int i, int j, std::uint8_t a) {
    g[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = a;
    g[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] = a;
}

TEST(ManReport, AfflictionOfVenusAndMars) {
    NatalAspectGrid g = NoAspects();
    EXPECT_FALSE(VenusAfflicted(g));
    EXPECT_FALSE(MarsAfflicted(g));
    Set(g, kVenus, kJupiter, 90);  // Jupiter does not count
    Set(g, kVenus, kSaturn, 120);  // nor does a trine
    Set(g, kMars, kSun, 180);      // nor the Sun
    EXPECT_FALSE(VenusAfflicted(g));
    EXPECT_FALSE(MarsAfflicted(g));
    Set(g, kVenus, kMars, 90);  // afflicts Venus, not Mars
    EXPECT_TRUE(VenusAfflicted(g));
    EXPECT_FALSE(MarsAfflicted(g));
    g = NoAspects();
    Set(g, kMars, kPluto, 180);
    EXPECT_TRUE(MarsAfflicted(g));
    EXPECT_FALSE(VenusAfflicted(g));
    for (int other : {kMars, kSaturn, kUranus, kNeptune, kPluto}) {
        g = NoAspects();
        Set(g, kVenus, other, 180);
        EXPECT_TRUE(VenusAfflicted(g)) << other;
    }
}

TEST(ManReport, SignTextsFollowTheAffliction) {
    // Venus in Cancer and Mars in Libra: the favourable or the unfavourable text.
    ScratchDir dir;
    NatalAspectGrid g = NoAspects();
    Set(g, kVenus, kJupiter, 90);
    ManReport(dir.path(), kMan, &g);
    std::string plus = Cp1251ToUtf8(ReadFile(dir.file("Plus_Men.txt")));
    std::string minus = Cp1251ToUtf8(ReadFile(dir.file("Minus_Men.txt")));
    EXPECT_NE(plus.find("Заботлива"), std::string::npos);
    EXPECT_NE(plus.find("Действует через согласие."), std::string::npos);
    EXPECT_EQ(minus, "");

    g = NoAspects();
    Set(g, kMars, kPluto, 180);
    ManReport(dir.path(), kMan, &g);
    plus = Cp1251ToUtf8(ReadFile(dir.file("Plus_Men.txt")));
    minus = Cp1251ToUtf8(ReadFile(dir.file("Minus_Men.txt")));
    EXPECT_EQ(minus, "В отчёт не попадает.\r\n\r\n");  // Mars afflicted: his flag-50 text
    EXPECT_EQ(plus.find("Действует"), std::string::npos);
    EXPECT_NE(plus.find("Заботлива"), std::string::npos);
}

TEST(ManReport, AspectClassesAndTheBodiesThatCount) {
    ScratchDir dir;
    NatalAspectGrid g = NoAspects();
    Set(g, kVenus, kSaturn, 60);  // sextile: class 120
    ManReport(dir.path(), kMan, &g);
    EXPECT_NE(Cp1251ToUtf8(ReadFile(dir.file("Plus_Men.txt"))).find("Венера и Сатурн в гармонии"), std::string::npos);
    Set(g, kVenus, kSaturn, 90);  // square: class 180, and Venus afflicted
    ManReport(dir.path(), kMan, &g);
    const std::string minus = Cp1251ToUtf8(ReadFile(dir.file("Minus_Men.txt")));
    EXPECT_NE(minus.find("Чувства под замком."), std::string::npos);
    EXPECT_EQ(Cp1251ToUtf8(ReadFile(dir.file("Plus_Men.txt"))).find("в гармонии"), std::string::npos);
    EXPECT_EQ(NatalAspectClass(0), 0);
    EXPECT_EQ(NatalAspectClass(60), 120);
    EXPECT_EQ(NatalAspectClass(120), 120);
    EXPECT_EQ(NatalAspectClass(90), 180);
    EXPECT_EQ(NatalAspectClass(180), 180);

    // Every cell a trine: only the fifteen pairs of Sun..Saturn without the Moon are
    // asked. The database has a Moon-Sun trine text, which never appears.
    NatalAspectGrid all;
    for (auto& row : all) row.fill(120);
    const TextBase natal = Raw("as1.dat", {"*   2 120   1   0", "Луна", "@", "*   1 120   8   0", "Уран", "@",
                                           "*   6 120   7   0", "Юпитер-Сатурн", "@", "*   7 120   6   0",
                                           "Сатурн-Юпитер", "@"});
    WriteManReport({kManRecord, kMan, all, natal, TestBases().signs, dir.path()});
    const std::string plus = Cp1251ToUtf8(ReadFile(dir.file("Plus_Men.txt")));
    EXPECT_NE(plus.find("Юпитер-Сатурн"), std::string::npos);
    for (const char* never : {"Луна", "Уран", "Сатурн-Юпитер"}) EXPECT_EQ(plus.find(never), std::string::npos) << never;
}

TEST(ManReport, OrderOfTextsAndTheSignLine) {
    ScratchDir dir;
    ManReport(dir.path());
    // Unfavourable: Venus's sign text, then the aspects in pair order.
    EXPECT_EQ(Cp1251ToUtf8(ReadFile(dir.file("Minus_Men.txt"))),
              "Ревнива и обидчива.\r\n\r\n"
              "Сердце спорит с волей.\r\n\r\nЧувства под замком.\r\n\r\nСила, скованная страхом.\r\n\r\n");
    const std::string plus = Cp1251ToUtf8(ReadFile(dir.file("Plus_Men.txt")));
    EXPECT_EQ(plus.find("Солнце в Овне"), std::string::npos);  // the line after a sign header
    EXPECT_LT(plus.find("Первопроходец"), plus.find("Действует через согласие."));
    EXPECT_LT(plus.find("Действует через согласие."), plus.find("Ум и воля заодно."));
    EXPECT_LT(plus.find("Ум и воля заодно."), plus.find("Выдержка и сила."));

    EXPECT_EQ(Cp1251ToUtf8(SignLine(kMan)), "   Знак Зодиака Овен  (Солнце в 16 градусе знака)");
    const TChart atZero = ChartOf({330, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // 0 degrees of Pisces
    EXPECT_EQ(Cp1251ToUtf8(SignLine(atZero)), "   Знак Зодиака Рыбы  (Солнце в 1 градусе знака)");
    for (int s = 1; s <= 12; ++s) EXPECT_LE(Utf8ToCp1251("   Знак Зодиака ").size() + SignName(s).size(), 24u);
}

TEST(ManReport, MissingEntriesWriteNothingAndTheReportGoesOn) {
    ScratchDir dir;
    const TextBase empty;
    WriteManReport({kManRecord, kMan, NoAspects(), empty, empty, dir.path()});
    const auto lines = RtfLines(ReadFile(dir.file("Itogo_Men.rtf")));
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[14], "\\par ");
    EXPECT_EQ(lines[18], "\\par ");
    EXPECT_EQ(lines[24], "\\par }");
}

}  // namespace
}  // namespace pelorin
