// Real files of other programs and data collections (tests/data/exchange, their
// sources in the README there), each imported into both lists: every person read
// right or refused for a reason that holds, none read wrongly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>

#include "base/cp1251.h"
#include "base/file_io.h"
#include "people/exchange.h"
#include "people/person_chart.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

constexpr int kNone = 99999;

// What one person of a file must become. `refused`: a part of the reason, and
// the person is stored in neither list. Otherwise the record: its name, sex
// ('W', 'M', or 0 for either list), date, time ("" unknown), the instant as a
// Julian Day in Universal Time (0 for a birth without a time; within a minute)
// and the place in arc minutes.
struct Expected {
    int line;
    const char* name;
    char sex;
    const char* date;
    const char* time;
    double jd;
    int lat = kNone, lon = kNone;
    const char* refused = nullptr;
};

Expected Refused(int line, const char* why) { return {line, "", 0, "", "", 0, kNone, kNone, why}; }

struct FileCase {
    const char* file;
    std::vector<Expected> people;
    int rightWomen, rightMen, refusedWomen, refusedMen;  // as the README's table counts them
};

const std::vector<FileCase>& Cases() {
    static const std::vector<FileCase> cases = {
        {"aaf-definition.aaf",
         {{3, "Ferber Tobias", 'M', "27.09.1970", "11:04", 2440856.919444, 49 * 60 + 5, 8 * 60 + 11},
          Refused(8, "меньше семи полей"),
          Refused(13, "не о человеке"),
          {15, "Cezanne Paul", 'M', "19.01.1839", "01:00", 2392758.526528, 43 * 60 + 31, 5 * 60 + 27}},
         0, 2, 4, 2},
        {"astrowiki-cezanne.aaf",
         {{1, "Cezanne Paul", 'M', "19.01.1839", "01:00", 2392758.526528, 43 * 60 + 31, 5 * 60 + 27}},
         0, 1, 1, 0},
        {"astrodienst-adb.aaf",
         {{1, "Miron Errick", 'M', "21.05.1977", "13:57", 2443285.37292, 32 * 60 + 43, -(117 * 60 + 9)},
          {5, "Rodgers Aaron", 'M', "02.12.1983", "14:50", 2445671.45139, 39 * 60 + 44, -(121 * 60 + 50)},
          {9, "Abbey", 'W', "09.03.1991", "15:44", 2448325.36389, 39 * 60 + 46, -(84 * 60 + 12)},
          {13, "Abe", 'M', "17.01.2005", "08:06", 2453388.17083, 34 * 60 + 3, -(118 * 60 + 15)},
          {17, "Lincoln Abraham", 'M', "12.02.1809", "06:54", 2381826.02565, 37 * 60 + 34, -(85 * 60 + 44)},
          {21, "Carolla Adam", 'M', "27.05.1964", "19:45", 2438543.61458, 34 * 60 + 3, -(118 * 60 + 15)},
          {25, "Aj", 'M', "07.03.1984", "23:07", 2445767.67153, 42 * 60 + 22, -(71 * 60 + 4)}},
         1, 6, 6, 1},
        {"stellium-sample-charts.aaf",
         {{2, "Louie Kate", 'W', "06.01.1994", "11:47", 2449359.32431, 37 * 60 + 23, -(122 * 60 + 5)},
          // The file's Julian day belongs to another date: its date, time and zone count.
          {4, "Einstein Albert", 'M', "14.03.1879", "11:30", 2407422.9375, 48 * 60 + 24, 9 * 60 + 59}},
         1, 1, 1, 1},
        {"argus-nfi-to-aaf.aaf",
         {Refused(1, "вне 1600–2399"),
          {4, "Axel", 0, "27.07.1968", "15:31", 2440065.104861, 51 * 60 + 38, 8 * 60 + 31}},
         1, 1, 1, 1},
        {"enigma-export.aaf",
         {{2, "Kampherbeek Jan", 0, "29.01.1953", "08:37", 2434406.817708, 52 * 60 + 13, 6 * 60 + 54}},
         1, 1, 0, 0},
        {"astro-seek-export.aaf",
         {{1, "george", 'M', "06.01.1970", "00:00", 2440592.75, 41 * 60 + 49, -(88 * 60 + 1)},
          {3, "George", 'M', "06.01.1970", "00:00", 2440592.75, 41 * 60 + 49, -(87 * 60 + 39)},
          {5, "Albena Slavova", 'W', "23.02.1968", "20:16", 2439910.261111, 42 * 60 + 20, 23 * 60 + 33}},
         1, 2, 2, 1},
        {"stellium-batch-data.csv",
         {{2, "Kate Louie", 0, "06.01.1994", "11:47", 2449359.324306, 37 * 60 + 23, -(122 * 60 + 5)},
          // Before standard time: the local mean time of the place.
          {3, "Albert Einstein", 0, "14.03.1879", "11:30", 2407422.951435, 48 * 60 + 24, 9 * 60 + 59},
          {4, "Marie Curie", 0, "07.11.1867", "12:00", 2403277.94162, 52 * 60 + 14, 21 * 60 + 1},
          {5, "Nikola Tesla", 0, "10.07.1856", "00:00", 2399140.45875, 44 * 60 + 34, 14 * 60 + 51}},
         4, 4, 0, 0},
        {"stellium-full-mapping.csv",
         {{2, "Kate Louie", 0, "06.01.1994", "11:47", 2449359.324306, 37 * 60 + 23, -(122 * 60 + 5)}},
         1, 1, 0, 0},
        {"stellium-12hour.csv",
         {{2, "Kate Louie", 0, "06.01.1994", "11:47", 2449359.324306, 37 * 60 + 23, -(122 * 60 + 5)},
          {3, "Night Owl", 0, "15.05.1990", "14:30", 2448027.270833, 40 * 60 + 43, -(74 * 60 + 0)}},
         2, 2, 0, 0},
        {"stellium-european-dates.csv", {Refused(2, "неоднозначна")}, 0, 0, 1, 1},
        {"stellium-errors.csv",
         {{2, "Valid Person", 0, "06.01.1994", "11:47", 2449359.324306, 37 * 60 + 23, -(122 * 60 + 5)},
          Refused(3, "не в виде"),
          Refused(4, "нужны координаты и пояс"),
          {5, "Another Valid", 0, "14.03.1879", "11:30", 2407422.951435, 48 * 60 + 24, 9 * 60 + 59}},
         2, 2, 2, 2},
        {"stellium-combined-datetime.csv",
         {{2, "Kate Louie", 0, "06.01.1994", "11:47", 2449359.324306, 37 * 60 + 23, -(122 * 60 + 5)},
          {3, "Albert Einstein", 0, "14.03.1879", "11:30", 2407422.951435, 48 * 60 + 24, 9 * 60 + 59}},
         2, 2, 0, 0},
        {"stellium-split-name.csv",
         {{2, "Kate Louie", 0, "06.01.1994", "11:47", 2449359.324306, 37 * 60 + 23, -(122 * 60 + 5)},
          {3, "Albert Einstein", 0, "14.03.1879", "11:30", 2407422.951435, 48 * 60 + 24, 9 * 60 + 59}},
         2, 2, 0, 0},
        {"stellium-components.csv",
         {{2, "Kate Louie", 0, "06.01.1994", "11:47", 2449359.324306, 37 * 60 + 23, -(122 * 60 + 5)},
          {3, "Albert Einstein", 0, "14.03.1879", "11:30", 2407422.951435, 48 * 60 + 24, 9 * 60 + 59}},
         2, 2, 0, 0},
    };
    return cases;
}

std::string Trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// Why a stored record is not the expected person; empty when it is.
std::string Mismatch(const PersonRecord& r, const Expected& e) {
    std::string why;
    if (Cp1251ToUtf8(Trimmed(r.Name.str())) != e.name) why += " name «" + Cp1251ToUtf8(r.Name.str()) + "»";
    if (r.DateText.str() != e.date) why += " date " + r.DateText.str();
    const std::string time = *e.time ? e.time : " --- ";
    if (r.TimeText.str() != time) why += " time " + r.TimeText.str();
    if (e.jd != 0 && !(std::fabs(r.Moment + 2415020 - e.jd) * 1440 <= 1)) {
        char buf[64];
        std::snprintf(buf, sizeof buf, " instant %.6f", r.Moment + 2415020);
        why += buf;
    }
    if (e.lat != kNone) {
        const PlaceCoords p = ParseCoordText(r.CoordText.str());
        if (std::abs(int(std::lround(p.latitude * 60)) - e.lat) > 1 || std::abs(int(std::lround(p.longitude * 60)) - e.lon) > 1)
            why += " place " + Cp1251ToUtf8(r.CoordText.str());
    }
    if (!HasHouses(r) && *e.time) why += " without houses";
    return why;
}

TEST(ExchangeFiles, OtherProgramsFilesReadRightIntoBothListsAndNoneWrongly) {
    const std::string dataDir = std::string(PELORIN_BINARY_DIR) + "/data";
    const CitySearch search = CitySearch::Build(dataDir);
    int files = 0;
    for (const FileCase& c : Cases()) {
        const std::string file = std::string(PELORIN_SOURCE_DIR) + "/tests/data/exchange/" + c.file;
        const std::string content = ReadWholeFile(file);
        const ImportParse parse = ParseExchange(content, ExchangeFormatOfFile(file, content), c.file);
        for (TableKind kind : {TableKind::Women, TableKind::Men}) {
            SCOPED_TRACE(std::string(c.file) + (kind == TableKind::Women ? " into women" : " into men"));
            std::vector<ImportProblem> problems = parse.problems;
            const std::vector<ImportPlan> plans = PlanImport(parse, kind, search, dataDir, c.file, problems);
            std::map<int, const ImportPlan*> planOf;
            std::map<int, std::string> problemOf;
            for (const ImportPlan& p : plans) planOf[p.row.line] = &p;
            for (const ImportProblem& p : problems) problemOf[p.line] = p.message;
            int right = 0, refused = 0, wrong = 0;
            const char list = kind == TableKind::Women ? 'W' : 'M';
            for (const Expected& e : c.people) {
                const ImportPlan* plan = planOf.count(e.line) ? planOf[e.line] : nullptr;
                const bool stored = plan && plan->record;
                const std::string problem = problemOf.count(e.line) ? problemOf[e.line] : plan ? plan->note : "";
                if (e.refused || (e.sex != 0 && e.sex != list)) {
                    const char* why = e.refused ? e.refused : "а список";
                    if (!stored && problem.find(why) != std::string::npos) ++refused;
                    else ++wrong, ADD_FAILURE() << "line " << e.line << " not refused for «" << why << "»: " << problem;
                } else if (!stored) {
                    ++wrong, ADD_FAILURE() << "line " << e.line << " not read: " << problem;
                } else if (const std::string why = Mismatch(*plan->record, e); !why.empty()) {
                    ++wrong, ADD_FAILURE() << "line " << e.line << " read wrongly:" << why << " (" << plan->note << ")";
                } else {
                    ++right;
                    EXPECT_EQ(plan->record->Sex.str(), std::string(1, list)) << e.line;
                }
            }
            // Every person of the file is in the table.
            EXPECT_EQ(plans.size() + problems.size(), c.people.size());
            EXPECT_EQ(wrong, 0);
            EXPECT_EQ(right, kind == TableKind::Women ? c.rightWomen : c.rightMen);
            EXPECT_EQ(refused, kind == TableKind::Women ? c.refusedWomen : c.refusedMen);
        }
        ++files;
    }
    EXPECT_EQ(files, 15);
}

// What the readers tell about the files: the Latin-1 of the definition's
// example, the source marks, the long place, the unknown sex, the #B93 instant
// that belongs to another date, and the zone of the nearest city named.
TEST(ExchangeFiles, TheNotesSayWhatWasConverted) {
    const std::string dataDir = std::string(PELORIN_BINARY_DIR) + "/data";
    const CitySearch search = CitySearch::Build(dataDir);
    auto notes = [&](const char* name, TableKind kind) {
        const std::string file = std::string(PELORIN_SOURCE_DIR) + "/tests/data/exchange/" + name;
        const std::string content = ReadWholeFile(file);
        const ImportParse parse = ParseExchange(content, ExchangeFormatOfFile(file, content), name);
        std::vector<ImportProblem> problems;
        std::string all;
        for (const ImportPlan& p : PlanImport(parse, kind, search, dataDir, name, problems))
            all += std::to_string(p.row.line) + ": " + p.note + "\n";
        return std::make_pair(parse.encoding, all);
    };
    const auto definition = notes("aaf-definition.aaf", TableKind::Men);
    EXPECT_EQ(definition.first, ExchangeEncoding::Latin1);
    EXPECT_NE(definition.second.find("«Programmierer der nutzlichen AAF-DLL»"), std::string::npos) << definition.second;
    EXPECT_NE(definition.second.find("местное среднее время: пояс по долготе +0:21:48"), std::string::npos);
    const std::string adb = notes("astrodienst-adb.aaf", TableKind::Men).second;
    EXPECT_NE(adb.find("5: место, координаты и пояс из файла; отметка источника [Adb] убрана из имени"), std::string::npos)
        << adb;
    const std::string seek = notes("astro-seek-export.aaf", TableKind::Men).second;
    EXPECT_NE(seek.find("место «Downers Grove, USA, Illinois» длиннее 26 знаков: сохранено «Downers Grove, USA, Illino»"),
              std::string::npos)
        << seek;
    EXPECT_NE(notes("enigma-export.aaf", TableKind::Women).second.find("пол не указан («*»)"), std::string::npos);
    EXPECT_NE(notes("stellium-sample-charts.aaf", TableKind::Men)
                  .second.find("взяты дата, время и пояс (юлианский день не подходит к дате)"),
              std::string::npos);
    const std::string batch = notes("stellium-batch-data.csv", TableKind::Women).second;
    EXPECT_NE(batch.find("5: место и координаты из файла, пояс ближайшего города атласа; пояс города Задар (Хорватия, 59 км)"),
              std::string::npos)
        << batch;
    EXPECT_NE(batch.find("до поясного времени: местное среднее время по долготе +0:59:24"), std::string::npos);
}

}  // namespace
}  // namespace pelorin
