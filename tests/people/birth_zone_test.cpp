// Women entered with a place of the shipped atlas: the birth moment is the UTC
// instant of the local birth time, summer time included.
#include <gtest/gtest.h>

#include <cstring>

#include "astro/base_routines.h"
#include "base/cp1251.h"
#include "base/file_io.h"
#include "people/atlas.h"
#include "people/person_entry.h"
#include "people/place_fields.h"
#include "people/time_zones.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

// Chooses a city of the shipped atlas as the chooser's "Продолжить" does; with
// `oldAtlas` the lines are cut to the columns of an atlas from before the zone
// table, which has no zone numbers.
class AtlasChooser : public PlaceChooser {
public:
    const char *region = "", *country = "", *city = "";
    bool oldAtlas = false;
    bool ChoosePlace(PersonRecord& r) override {
        const std::string file = *RegionFileName(test::SourceDataDir(), region);
        std::vector<std::string> lines = ReadRegionLines(file);
        if (oldAtlas)
            for (std::string& l : lines) l.resize(std::min<std::size_t>(l.size(), l[0] == '*' ? 76 : 45));
        const ZoneTable zones = ZoneTable::Load(JoinPath(test::SourceDataDir(), kZoneTableFile));
        std::string c = " " + Utf8ToCp1251(country), t = " " + Utf8ToCp1251(city);
        c.resize(30, ' ');
        t.resize(30, ' ');
        const int day = std::stoi(r.DateText.str().substr(0, 2)), month = std::stoi(r.DateText.str().substr(3, 2)),
                  year = std::stoi(r.DateText.str().substr(6));
        ApplyPlaceChoice(r, pelorin::ChoosePlace(lines, c, t, BirthTimeOf(r, day, month, year), &zones, file));
        return true;
    }
};

TEST(BirthZone, WomenAreStoredAtTheUtcInstantOfTheirLocalBirthTime) {
    struct Case {
        const char *region, *country, *city;
        int day, month, year, hour, minute;  // hour -1: time unknown
        int utDay, utMonth, utYear, utHour, utMinute;
        const char *zoneText, *mark;
        bool oldAtlas;
    };
    const Case cases[] = {
        {"sng", "Россия (Москва)", "Москва", 12, 4, 1961, 9, 7, 12, 4, 1961, 6, 7, "  3.0", "Z", false},
        {"sng", "Россия (Москва)", "Москва", 1, 7, 1985, 12, 0, 1, 7, 1985, 8, 0, "  4.0", "Z", false},
        {"sng", "Россия (Москва)", "Москва", 1, 7, 1985, -1, 0, 1, 7, 1985, 8, 0, "  4.0", "Z", false},
        {"europa", "Великобритания", "Лондон", 15, 1, 1990, 12, 0, 15, 1, 1990, 12, 0, "  0.0", "Z", false},
        {"europa", "Великобритания", "Лондон", 15, 7, 1990, 12, 0, 15, 7, 1990, 11, 0, "  1.0", "Z", false},
        {"namerica", "США (Нью-Йорк)", "Нью-Йорк", 4, 7, 1976, 12, 0, 4, 7, 1976, 16, 0, " -4.0", "Z", false},
        {"azia", "Индия", "Колката", 1, 1, 1980, 12, 0, 1, 1, 1980, 6, 30, "  5.5", "Z", false},
        {"austral", "Австралия (Сидней)", "Сидней", 1, 1, 1990, 12, 0, 1, 1, 1990, 1, 0, " 11.0", "Z", false},
        // Moscow's clocks went from 2:00 to 3:00 on 31 March 1985 and from 3:00
        // back to 2:00 on 29 September: both read with the offset before the change.
        {"sng", "Россия (Москва)", "Москва", 31, 3, 1985, 2, 30, 30, 3, 1985, 23, 30, "  3.0", "Z", false},
        {"sng", "Россия (Москва)", "Москва", 29, 9, 1985, 2, 30, 28, 9, 1985, 22, 30, "  4.0", "Z", false},
        // An atlas without zone numbers: the zone field and "L", an hour early as ever.
        {"sng", "Россия (Москва)", "Москва", 12, 4, 1961, 9, 7, 12, 4, 1961, 5, 7, "  3.0", "L", true},
    };
    for (const Case& c : cases) {
        test::ScratchDir dir;
        PersonTable women{TableKind::Women, {}};
        for (int i = 1; i <= kTableSlots; ++i) ClearSlot(women, i);
        SavePersonFile(dir.file("FEMIN.DAT"), women);
        AtlasChooser chooser;
        chooser.region = c.region;
        chooser.country = c.country;
        chooser.city = c.city;
        chooser.oldAtlas = c.oldAtlas;
        WomanEntry e;
        e.name = "X";
        e.day = c.day, e.month = c.month, e.year = c.year;
        e.timeKnown = c.hour >= 0;
        e.hour = c.hour, e.minute = c.minute;
        ASSERT_EQ(StoreWoman(e, chooser, women, dir.path(), 0).outcome, EntryOutcome::Stored) << c.city;
        const PersonRecord& w = women.slot(1);
        const std::string what = std::string(c.city) + " " + w.DateText.str() + " " + w.TimeText.str();
        EXPECT_EQ(w.ZoneText.str(), c.zoneText) << what;
        EXPECT_EQ(w.ShiftFlag.str(), c.mark) << what;
        EXPECT_NEAR(w.Moment, DayNumberOf(c.utDay, c.utMonth, c.utYear, c.utHour, c.utMinute, 0), 1e-9) << what;
    }
}

}  // namespace
}  // namespace pelorin
