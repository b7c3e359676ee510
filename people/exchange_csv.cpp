// The CSV reader: a header row naming the columns in any order, then one person a
// row (RFC 4180 quoting; a comma, semicolon or tab between the cells, as the
// header uses). Besides Pelorin's own columns it knows the names other programs
// and data collections give them (birth_date, dob, lat, lng, tz, city, ...).
#include <cmath>
#include <map>

#include "base/cp1251.h"
#include "base/errors.h"
#include "people/exchange_read.h"

namespace pelorin {

ImportParse ParseCsv(const std::string& text, const std::string& fileName);

namespace {

using namespace exchange;

// The columns read, each under the names it goes by (a header cell counts in
// lower case, with every run of other characters than letters and digits as "_").
struct Column {
    const char* key;
    std::vector<const char*> names;
};

const std::vector<Column>& Columns() {
    static const std::vector<Column> columns = {
        {"name", {"name", "full_name", "fullname", "person"}},
        {"first_name", {"first_name", "firstname", "given_name"}},
        {"last_name", {"last_name", "lastname", "surname", "family_name"}},
        {"sex", {"sex", "gender"}},
        {"date", {"date", "birth_date", "birthdate", "date_of_birth", "dob", "datetime", "birth_datetime"}},
        {"time", {"time", "birth_time", "birthtime", "time_of_birth", "tob"}},
        {"year", {"year"}},
        {"month", {"month"}},
        {"day", {"day"}},
        {"hour", {"hour"}},
        {"minute", {"minute"}},
        {"place", {"place", "city", "location", "birth_place", "birthplace", "place_of_birth", "birth_city"}},
        {"country", {"country", "birth_country"}},
        {"latitude", {"latitude", "lat", "birth_lat", "birth_latitude"}},
        {"longitude", {"longitude", "lon", "lng", "long", "birth_lon", "birth_lng", "birth_longitude"}},
        {"zone", {"zone", "tz", "timezone", "time_zone", "utc_offset", "tz_offset"}},
        {"summer_hour", {"summer_hour", "dst"}},
        {"comment", {"comment", "comments", "note", "notes"}},
    };
    return columns;
}

constexpr const char* kColumnsRead =
    "name (full_name, или first_name и last_name), sex (gender), date (birth_date, dob, datetime; или year, month, "
    "day), time (birth_time, tob; или hour, minute), place (city, location), country, latitude (lat), longitude "
    "(lon, lng), zone (tz, timezone: часы к востоку от Гринвича или имя пояса, например Europe/Moscow), "
    "summer_hour, comment (notes)";

std::string HeaderKey(const std::string& cell) {
    std::string key;
    for (char c : Lower(Trim(cell))) {
        const bool word = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (word) key += c;
        else if (!key.empty() && key.back() != '_') key += '_';
    }
    while (!key.empty() && key.back() == '_') key.pop_back();
    return key;
}

// The separator of the cells: the one of comma, semicolon and tab that the
// header row (outside quotes) has most of; a comma when it has none.
char Separator(const std::string& text) {
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n') break;
        commas += c == ',';
        semicolons += c == ';';
        tabs += c == '\t';
    }
    if (semicolons > commas && semicolons >= tabs) return ';';
    if (tabs > commas && tabs > semicolons) return '\t';
    return ',';
}

std::vector<std::pair<int, std::vector<std::string>>> CsvRecords(const std::string& text, char separator,
                                                                 const std::string& fileName) {
    std::vector<std::pair<int, std::vector<std::string>>> records;
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false, fieldStarted = false;
    int line = 1, recordLine = 1;
    auto endRecord = [&] {
        fields.push_back(field);
        field.clear();
        if (!(fields.size() == 1 && fields[0].empty() && !fieldStarted)) records.emplace_back(recordLine, fields);
        fields.clear();
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') ++line;
                field += c;
            }
            continue;
        }
        if (c == '"' && field.empty()) {
            quoted = fieldStarted = true;
        } else if (c == separator) {
            fields.push_back(field);
            field.clear();
            fieldStarted = true;
        } else if (c == '\n') {
            endRecord();
            recordLine = ++line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) throw Error("Файл «" + fileName + "», строка " + std::to_string(recordLine) + ": кавычка не закрыта");
    if (fieldStarted || !field.empty()) endRecord();
    return records;
}

// Degrees of a coordinate cell: a decimal number (south and west negative, or
// with the hemisphere letter before or after it; a decimal comma where the
// cells are not separated by commas), or an angle of the AAF ("55n45").
double CellDegrees(std::string text, char plus, char minus, int limit, const char* what, char separator) {
    const std::string low = Lower(text);
    const std::size_t letter = low.find_first_of(std::string{plus, minus});
    if (letter != std::string::npos && letter > 0 && letter + 1 < text.size())
        return AafAngleSeconds(text, plus, minus, limit, what) / 3600.0;
    double sign = 1;
    if (letter != std::string::npos) {
        sign = low[letter] == minus ? -1 : 1;
        text = Trim(text.erase(letter, 1));
    }
    if (separator != ',')
        for (char& c : text)
            if (c == ',') c = '.';
    return sign * ReadDouble(text, what);
}

// The zone cell: hours east of Greenwich ("3", "-5", "5.5", "+05:30", "UTC+3"),
// a zone of the AAF ("3he00"), "LMT" (local mean time), or an IANA zone name
// ("Europe/Moscow"), which the plan reads from the atlas's zone table.
void ReadZoneCell(const std::string& cell, ImportRow& row, long lonSeconds) {
    std::string text = Trim(cell);
    if (text.empty()) return;
    std::string low = Lower(text);
    if (low == "lmt" || low == "l") {
        if (!row.hasCoords) throw LineError("местное среднее время (LMT) без долготы");
        SetLocalMeanTime(row, lonSeconds);
        return;
    }
    if (low == "utc" || low == "gmt" || low == "z") {
        SetZone(row, 0);
        return;
    }
    if (text.find('/') != std::string::npos) {
        for (char c : text)
            if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                  std::string_view("/_+-").find(c) != std::string_view::npos))
                throw LineError("часовой пояс «" + EchoText(text) + "» не число и не имя пояса");
        row.zoneName = text;
        return;
    }
    if (low.starts_with("utc") || low.starts_with("gmt")) low = Trim(low.substr(3));
    if (low.find_first_of("hew") != std::string::npos) {
        const ZoneReading z = ReadAafZone(low);
        if (z.kind == ZoneReading::Hours) SetZone(row, z.hours);
        return;
    }
    double sign = 1;
    if (!low.empty() && (low[0] == '+' || low[0] == '-')) {
        sign = low[0] == '-' ? -1 : 1;
        low.erase(0, 1);
    }
    const std::size_t colon = low.find(':');
    if (colon == std::string::npos) {
        SetZone(row, sign * ReadDouble(low, "часовой пояс"));
        return;
    }
    int h = 0, m = 0, s = 0;
    const std::size_t colon2 = low.find(':', colon + 1);
    if (!Number(std::string_view(low).substr(0, colon), h, 2) ||
        !Number(std::string_view(low).substr(colon + 1, colon2 == std::string::npos ? std::string::npos : colon2 - colon - 1), m, 2) ||
        (colon2 != std::string::npos && !Number(std::string_view(low).substr(colon2 + 1), s, 2)) || m > 59 || s > 59)
        throw LineError("часовой пояс «" + EchoText(text) + "» не число");
    SetZone(row, sign * (h * 3600 + m * 60 + s) / 3600.0);
}

}  // namespace

ImportParse ParseCsv(const std::string& text, const std::string& fileName) {
    ImportParse out;
    const char separator = Separator(text);
    const auto records = CsvRecords(text, separator, fileName);
    if (records.empty()) throw Error("Файл «" + fileName + "» пуст: нет строки заголовка");
    std::map<std::string, std::size_t> columns;
    const std::vector<std::string>& header = records[0].second;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string key = HeaderKey(header[i]);
        for (const Column& c : Columns())
            for (const char* n : c.names)
                if (key == n && !columns.count(c.key)) columns[c.key] = i;
    }
    const bool named = columns.count("name") || columns.count("first_name") || columns.count("last_name");
    const bool dated = columns.count("date") || (columns.count("year") && columns.count("month") && columns.count("day"));
    if (!named || !dated)
        throw Error("Файл «" + fileName + "»: в строке заголовка нет столбцов " +
                    (named ? "даты рождения" : dated ? "имени" : "имени и даты рождения") +
                    ". Pelorin читает столбцы: " + kColumnsRead);
    for (std::size_t k = 1; k < records.size(); ++k) {
        const int line = records[k].first;
        const std::vector<std::string>& fields = records[k].second;
        auto get = [&](const char* name) -> std::string {
            const auto it = columns.find(name);
            std::string f = it != columns.end() && it->second < fields.size() ? fields[it->second] : std::string();
            if (!f.empty() && f.front() == '\'') f.erase(0, 1);  // the export's guard against formulas
            return f;
        };
        ImportRow row;
        row.line = line;
        try {
            if (fields.size() != header.size())
                throw LineError("полей " + std::to_string(fields.size()) + ", а в заголовке " +
                                std::to_string(header.size()));
            std::string name = get("name");
            if (Trim(name).empty()) name = Trim(get("first_name") + " " + get("last_name"));
            ReadName(name, row);
            const std::string sex = Lower(Trim(get("sex")));
            const std::string sexCp = Utf8ToCp1251(sex);
            if (sex == "w" || sex == "f" || sex == "female" || sex == "woman" || sexCp == "\xE6" ||
                sexCp == "\xC6")  // ж Ж
                row.sex = 'W';
            else if (sex == "m" || sex == "male" || sex == "man" || sexCp == "\xEC" || sexCp == "\xCC")  // м М
                row.sex = 'M';
            else if (!sex.empty() && sex != "*" && sex != "u" && sex != "?" && sex != "-" && sex != "unknown")
                throw LineError("пол «" + EchoText(sex) + "» не W и не M");
            else if (columns.count("sex"))
                row.notes.push_back("пол не указан: в тот список, в который идёт импорт");
            if (columns.count("date")) {
                ReadDate(get("date"), row, true);
            } else {
                ReadDate(Trim(get("day")) + "." + Trim(get("month")) + "." + Trim(get("year")), row);
            }
            if (!Trim(get("time")).empty()) {
                row.timeKnown = false, row.second = 0;
                ReadTime(get("time"), row);
            } else if (!columns.count("time") && !Trim(get("hour")).empty()) {
                const std::string minute = Trim(get("minute"));
                ReadTime(Trim(get("hour")) + ":" + (minute.size() == 1 ? "0" : "") + (minute.empty() ? "00" : minute),
                         row);
            }
            std::string place = Trim(get("place"));
            const std::string country = Trim(get("country"));
            if (!country.empty()) place += (place.empty() ? "" : ", ") + country;
            row.place = FieldText(place, "место", row);
            const std::string lat = Trim(get("latitude")), lon = Trim(get("longitude"));
            long lonSeconds = 0;
            if (!lat.empty() || !lon.empty()) {
                const double la = CellDegrees(lat, 'n', 's', 90, "широта", separator);
                const double lo = CellDegrees(lon, 'e', 'w', 180, "долгота", separator);
                if (std::fabs(la) >= 90 || std::fabs(lo) >= 180)
                    throw LineError("координаты " + EchoText(lat) + ", " + EchoText(lon) + " вне пределов");
                lonSeconds = std::lround(lo * 3600);
                SetCoords(row, std::lround(la * 3600), lonSeconds);
            }
            ReadZoneCell(get("zone"), row, lonSeconds);
            const std::string summer = Lower(Trim(get("summer_hour")));
            if (summer == "1" || summer == "true" || summer == "yes") row.summerHour = true;
            else if (!summer.empty() && summer != "0" && summer != "false" && summer != "no")
                throw LineError("summer_hour «" + EchoText(summer) + "» не 0 и не 1");
            row.comment = FieldText(get("comment"), "комментарий", row);
            out.rows.push_back(std::move(row));
        } catch (const LineError& e) {
            out.problems.push_back({line, LineMessage(fileName, line, e.message)});
        }
    }
    return out;
}

}  // namespace pelorin
