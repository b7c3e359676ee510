// The picture and the printed page of the page "Композит".
#include "graphics/relationship_wheel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "base/cp1251.h"
#include "graphics/glyph_tables.h"
#include "graphics/relationship_page.h"

namespace pelorin {
namespace {

template <class T>
std::vector<T> OpsOf(const std::vector<WheelOp>& ops) {
    std::vector<T> out;
    for (const auto& op : ops)
        if (const T* t = std::get_if<T>(&op)) out.push_back(*t);
    return out;
}

// A chart with every aspect kind among its bodies and houses of 30 degrees.
RelationshipChart Chart(RelationshipKind kind, bool houses) {
    TChart w{}, m{};
    const double lons[] = {0, 5, 60, 90, 120, 180, 200, 250, 300, 330};
    for (int i = 0; i < kBodyCount; ++i) w[i].Lon = m[i].Lon = lons[i];
    TCusps cusps{};
    for (int i = 1; i <= 12; ++i) cusps[i] = 15 + 30.0 * (i - 1);
    RelationshipChart c = CompositeOf(w, m, houses ? &cusps : nullptr, houses ? &cusps : nullptr, "Без домов: нет.");
    c.kind = kind;
    c.moment = 36524.25;
    c.place = {17.75, 55.125};
    return c;
}

std::vector<WheelOp> Plan(const RelationshipChart* c, std::string refusal = {}) {
    RelationshipWheelInput in;
    in.kind = c ? c->kind : RelationshipKind::Davison;
    in.chart = c;
    in.womanName = "Анна";
    in.manName = "Борис";
    in.refusal = std::move(refusal);
    return PlanRelationshipWheel(in);
}

std::set<std::string> Texts(const std::vector<WheelOp>& ops) {
    std::set<std::string> out;
    for (const WheelText& t : OpsOf<WheelText>(ops)) out.insert(t.text);
    return out;
}

int Chords(const std::vector<WheelLine>& lines) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const WheelLine& l) {
        return l.colour == wheel_colour::kHarmonious || l.colour == wheel_colour::kTense;
    }));
}

TEST(RelationshipWheel, OneRingHousesChordsOnceAndTheTriangleOfAspects) {
    const RelationshipChart c = Chart(RelationshipKind::Composite, true);
    const std::vector<WheelOp> ops = Plan(&c);
    const auto texts = OpsOf<WheelText>(ops);
    // Ten body glyphs in the ring (size 15, in the chart's colour; the table's
    // stand below the wheel), each once.
    std::set<std::string> ring;
    for (const WheelText& t : texts)
        if (t.size == 15 && t.colour == single_wheel::kComposite && t.at.y < 2 * wheel::kCentreY) ring.insert(t.text);
    EXPECT_EQ(ring.size(), static_cast<std::size_t>(kBodyCount));
    // Twelve house numbers in the inner ring, the cusps across the rings.
    const auto all = Texts(ops);
    for (int i = 1; i <= 12; ++i) EXPECT_TRUE(all.count(std::to_string(i))) << i;
    int cusps = 0;
    for (const WheelLine& l : OpsOf<WheelLine>(ops)) cusps += l.colour == single_wheel::kCusp;
    EXPECT_EQ(cusps, 12);

    // Each pair in aspect has one chord (the grid is symmetric), none for a
    // conjunction; and the triangle shows each pair's glyph once.
    int pairs = 0, glyphs = 0;
    for (int i = 0; i < kBodyCount; ++i)
        for (int j = i + 1; j < kBodyCount; ++j) {
            const int v = c.aspects[i][j];
            pairs += v == 60 || v == 90 || v == 120 || v == 180;
            glyphs += v != kNoAspect;
        }
    ASSERT_GT(pairs, 3);
    EXPECT_EQ(Chords(OpsOf<WheelLine>(ops)), pairs);
    int cells = 0;
    for (const WheelText& t : texts) {
        if (t.size != 17) continue;
        ++cells;
        EXPECT_FALSE(t.centred);
    }
    EXPECT_EQ(cells, glyphs);
    // Sun 0 and Moon 5: a conjunction, in the cell of row Moon, column Sun.
    const PixelPoint sunMoon = TriangleCellGlyphAt(2, 1);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const WheelText& t) {
        return t.at == sunMoon && t.text == std::string(1, static_cast<char>(AspectGlyphs[0]));
    }));
    // The table: a row for the Ascendant and the Midheaven with houses.
    EXPECT_TRUE(all.count("Асцендент"));
    EXPECT_TRUE(all.count("Середина неба"));
}

TEST(RelationshipWheel, WithoutHousesTheReasonAndNoHouseNumbers) {
    const RelationshipChart c = Chart(RelationshipKind::Composite, false);
    const auto all = Texts(Plan(&c));
    EXPECT_FALSE(all.count("12"));
    EXPECT_FALSE(all.count("Асцендент"));
    EXPECT_TRUE(all.count("Без домов: нет."));
    EXPECT_TRUE(all.count("—"));  // the house column of the bodies
}

TEST(RelationshipWheel, DavisonShowsItsMomentAndPlaceAndARefusalReplacesTheChart) {
    const RelationshipChart d = Chart(RelationshipKind::Davison, true);
    const auto all = Texts(Plan(&d));
    EXPECT_TRUE(all.count("Карта Давидсона"));
    EXPECT_TRUE(all.count("31.12.1999 18:00"));
    EXPECT_TRUE(all.count("55°08’ с. ш."));
    EXPECT_TRUE(all.count("17°45’ в. д."));

    const std::string why = "Карта Давидсона не построена: у мужчины «Виктор» нет места рождения с координатами "
                            "(его место введено текстом, без атласа).";
    const std::vector<WheelOp> refused = Plan(nullptr, why);
    EXPECT_TRUE(OpsOf<WheelEllipse>(refused).empty());  // no wheel
    std::string shown;
    for (const WheelText& t : OpsOf<WheelText>(refused))
        if (t.at.y >= 100) shown += (shown.empty() ? "" : " ") + t.text;
    EXPECT_EQ(shown, why);  // every word, in lines that fit
}

TEST(RelationshipWheel, WrapsAtBlanksByCharacters) {
    EXPECT_EQ(WrapText("аб вг де", 5), (std::vector<std::string>{"аб вг", "де"}));
    EXPECT_EQ(WrapText("длинноеслово x", 4), (std::vector<std::string>{"длинноеслово", "x"}));
    EXPECT_TRUE(WrapText("", 10).empty());
}

TEST(RelationshipPage, HeadingKindMomentPlaceAndTheTable) {
    PersonRecord woman{}, man{};
    woman.Name.set(Utf8ToCp1251("Анна"));
    woman.DateText.set("01.01.2000");
    woman.TimeText.set("12:00");
    man.Name.set(Utf8ToCp1251("Борис"));
    man.DateText.set("31.12.1999");
    man.TimeText.set("00:00");
    const RelationshipChart d = Chart(RelationshipKind::Davison, true);
    const PrintPage page = RelationshipPageOps({woman, man, d}, {20.0, 28.7, {}});
    std::set<std::string> texts;
    for (const PrintOp& op : page)
        if (op.kind == PrintOp::Kind::Text) texts.insert(Cp1251ToUtf8(op.text));
    EXPECT_TRUE(texts.count("Карта Давидсона"));
    EXPECT_TRUE(texts.count("31.12.1999 18:00"));
    EXPECT_TRUE(texts.count("55°08’ с. ш.,"));
    EXPECT_TRUE(texts.count("31.12.1999  00:00  "));  // his birth time is printed too
    EXPECT_TRUE(texts.count("Асцендент"));
    // Every printed text survives Windows-1251 (the minute mark too).
    for (const PrintOp& op : page) {
        if (op.kind == PrintOp::Kind::Text && op.font != kSymbolFontFamily) {
            EXPECT_EQ(op.text.find('?'), std::string::npos) << Cp1251ToUtf8(op.text);
        }
    }
    // The lines beside the wheel stay left of it: at most 19 characters above
    // 18 cm, where the wheel reaches furthest left.
    for (const std::string& line : RelationshipAboutLines(d)) EXPECT_LE(Utf8ToCp1251(line).size(), 19u) << line;
    // The Ascendant and the Midheaven are the thick cusps.
    int thick = 0;
    for (const PrintOp& op : page) thick += op.kind == PrintOp::Kind::RadialSegment && op.penWidth == 3;
    EXPECT_EQ(thick, 2);
}

}  // namespace
}  // namespace pelorin
