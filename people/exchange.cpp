#include "people/exchange.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include "astro/chart.h"
#include "base/cp1251.h"
#include "base/dir_lock.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "people/atlas.h"
#include "people/person_chart.h"
#include "people/person_entry.h"
#include "people/place_fields.h"
#include "people/time_zones.h"

namespace pelorin {
namespace {

constexpr double kJulianDayOfDayZero = 2415020.0;  // day number 0 as a Julian Day
constexpr const char* kComma = "\xE2\x80\x9A";     // U+201A: a comma inside an AAF field

std::string Trim(std::string_view s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(" \t") - b + 1));
}

std::string TrimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Shortest text of a number of arc minutes in degrees that reads back to them.
std::string Degrees(int minutes) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6f", minutes / 60.0);
    std::string s = buf;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    if (minutes < 0 && s[0] != '-') s = "-" + s;  // -0°30' keeps its sign
    return s;
}

std::string ZoneNumber(double zone) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4f", zone);
    std::string s = buf;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

struct Coords {
    bool known = false;
    int lat = 0, lon = 0;  // arc minutes
};

Coords CoordsOf(const PersonRecord& r) {
    Coords c;
    try {
        const std::string text = r.CoordText.str();
        const PlaceCoords p = ParseCoordText(text);
        if (text.size() < 19) return c;
        c.lat = static_cast<int>(std::lround(p.latitude * 60));
        c.lon = static_cast<int>(std::lround(p.longitude * 60));
        c.known = true;
    } catch (const Error&) {
    }
    return c;
}

// A text cell of the CSV. A spreadsheet takes a cell beginning with "=", "+",
// "-" or "@" for a formula: such a cell gets a leading apostrophe, which the
// spreadsheet shows as text and the import takes off again (as it takes one off
// a cell beginning with an apostrophe of its own, which is therefore doubled).
std::string CsvField(std::string utf8) {
    if (!utf8.empty() && std::string_view("=+-@'").find(utf8.front()) != std::string_view::npos) utf8.insert(0, 1, '\'');
    const bool quote = utf8.find_first_of(",\"\r\n") != std::string::npos ||
                       (!utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' '));
    if (!quote) return utf8;
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string TimeOf(const PersonRecord& r) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", r.Hour, r.Minute);
    return r.TimeKnown ? buf : "";
}

std::string CommentOf(const PersonRecord& r) { return Cp1251ToUtf8(TrimRight(r.Comment.str())); }

std::string AafText(const std::string& utf8) {
    std::string out;
    for (char c : utf8) {
        if (c == ',') out += kComma;
        else if (c == '\r' || c == '\n') out += ' ';
        else out += c;
    }
    return out.empty() ? "*" : out;
}

std::string AafAngle(int minutes, char plus, char minus) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d%c%02d", std::abs(minutes) / 60, minutes < 0 ? minus : plus,
                  std::abs(minutes) % 60);
    return buf;
}

std::string AafZone(double zone) {
    const long total = std::lround(std::fabs(zone) * 60);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%ldh%c%02ld", total / 60, zone < 0 ? 'w' : 'e', total % 60);
    return buf;
}

// ---- reading

std::string Decode(std::string_view content, const std::string& fileName) {
    if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
    bool utf8 = true;
    for (std::size_t pos = 0; pos < content.size();) {
        const std::size_t at = pos;
        const char32_t cp = DecodeUtf8(content, pos);
        if (cp == 0xFFFD && content.substr(at, 3) != "\xEF\xBF\xBD") {
            utf8 = false;
            break;
        }
    }
    std::string text = utf8 ? std::string(content) : std::string();
    if (!utf8) {
        if (content.find('\x98') != std::string_view::npos)
            throw Error("Файл «" + fileName + "» не в кодировке UTF-8 и не в Windows-1251");
        text = Cp1251ToUtf8(content);
    }
    // Line ends CR LF, LF and the old CR alone all become LF.
    std::string lf;
    lf.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') lf += text[i];
        else if (i + 1 >= text.size() || text[i + 1] != '\n') lf += '\n';
    }
    text.swap(lf);
    int line = 1;
    for (unsigned char c : text) {
        if (c == '\n') ++line;
        if (c < 0x20 && c != '\n' && c != '\r' && c != '\t')
            throw Error("Файл «" + fileName + "», строка " + std::to_string(line) +
                        ": управляющий знак — это не текст в UTF-8 или Windows-1251");
    }
    return text;
}

class LineError {
public:
    explicit LineError(std::string m) : message(std::move(m)) {}
    std::string message;
};

std::string ToCp1251(const std::string& utf8, const char* what) {
    std::size_t bad = std::string::npos;
    std::string out = Utf8ToCp1251(utf8, &bad);
    if (bad != std::string::npos)
        throw LineError(std::string(what) + ": знак, которого нет в кодировке Windows-1251");
    return out;
}

bool Number(std::string_view s, int& out, std::size_t maxDigits) {
    if (s.empty() || s.size() > maxDigits) return false;
    out = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        out = out * 10 + (c - '0');
    }
    return true;
}

void ReadDate(const std::string& text, ImportRow& row) {
    const std::size_t a = text.find('.'), b = text.find('.', a == std::string::npos ? 0 : a + 1);
    if (a == std::string::npos || b == std::string::npos || !Number(std::string_view(text).substr(0, a), row.day, 2) ||
        !Number(std::string_view(text).substr(a + 1, b - a - 1), row.month, 2) ||
        !Number(std::string_view(text).substr(b + 1), row.year, 4) || text.size() - b - 1 != 4)
        throw LineError("дата «" + EchoText(text) + "» не в виде ДД.ММ.ГГГГ");
    if (!IsCalendarDate(row.day, row.month, row.year)) throw LineError("даты «" + text + "» не бывает");
    if (!IsServedYear(row.year)) throw LineError(Trim(UnservedDateMessage(row.day, row.month, row.year)));
}

void ReadTime(const std::string& text, ImportRow& row) {
    if (text.empty() || text == "*" || text == "---") return;
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || !Number(std::string_view(text).substr(0, colon), row.hour, 2) ||
        !Number(std::string_view(text).substr(colon + 1), row.minute, 2) || text.size() - colon - 1 != 2)
        throw LineError("время «" + EchoText(text) + "» не в виде ЧЧ:ММ");
    if (row.hour > 23 || row.minute > 59) throw LineError("времени «" + text + "» не бывает (00:00..23:59)");
    row.timeKnown = true;
}

void ReadName(const std::string& utf8, ImportRow& row) {
    row.name = ToCp1251(Trim(utf8), "имя");
    if (row.name.empty()) throw LineError("нет имени");
    if (row.name.size() > 20) throw LineError("имя «" + EchoText(Trim(utf8)) + "» длиннее 20 знаков");
}

double ReadDouble(const std::string& text, const char* what) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(v)) throw LineError(std::string(what) + " «" + EchoText(text) + "» не число");
    return v;
}

void CheckCoords(ImportRow& row) {
    if (std::abs(row.latMinutes) >= 90 * 60) throw LineError("широта вне пределов (меньше 90°)");
    if (std::abs(row.lonMinutes) >= 180 * 60) throw LineError("долгота вне пределов (меньше 180°)");
    row.hasCoords = true;
}

void CheckZone(ImportRow& row) {
    if (std::fabs(row.zone) > 14) throw LineError("часовой пояс вне пределов (от −14 до 14 часов)");
    row.hasZone = true;
}

// ---- CSV

std::vector<std::pair<int, std::vector<std::string>>> CsvRecords(const std::string& text, const std::string& fileName) {
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
        } else if (c == ',') {
            fields.push_back(field);
            field.clear();
            fieldStarted = true;
        } else if (c == '\n') {
            if (!field.empty() && field.back() == '\r') field.pop_back();
            endRecord();
            recordLine = ++line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) throw Error("Файл «" + fileName + "», строка " + std::to_string(recordLine) + ": кавычка не закрыта");
    if (!field.empty() && field.back() == '\r') field.pop_back();
    if (fieldStarted || !field.empty()) endRecord();
    return records;
}

ImportParse ParseCsv(const std::string& text, const std::string& fileName) {
    ImportParse out;
    const auto records = CsvRecords(text, fileName);
    if (records.empty()) throw Error("Файл «" + fileName + "» пуст: нет строки заголовка");
    std::map<std::string, std::size_t> columns;
    for (std::size_t i = 0; i < records[0].second.size(); ++i) columns[Lower(Trim(records[0].second[i]))] = i;
    if (!columns.count("name") || !columns.count("date"))
        throw Error("Файл «" + fileName + "»: в строке заголовка нет столбцов name и date");
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
            if (fields.size() != records[0].second.size())
                throw LineError("полей " + std::to_string(fields.size()) + ", а в заголовке " +
                                std::to_string(records[0].second.size()));
            ReadName(get("name"), row);
            const std::string sex = Lower(Trim(get("sex")));
            if (sex == "w" || sex == "f" || sex == "ж") row.sex = 'W';
            else if (sex == "m" || sex == "м") row.sex = 'M';
            else if (!sex.empty()) throw LineError("пол «" + EchoText(sex) + "» не W и не M");
            ReadDate(Trim(get("date")), row);
            ReadTime(Trim(get("time")), row);
            row.place = ToCp1251(Trim(get("place")), "место");
            const std::string lat = Trim(get("latitude")), lon = Trim(get("longitude"));
            if (!lat.empty() || !lon.empty()) {
                const double la = ReadDouble(lat, "широта"), lo = ReadDouble(lon, "долгота");
                if (std::fabs(la) >= 90 || std::fabs(lo) >= 180)
                    throw LineError("координаты " + EchoText(lat) + ", " + EchoText(lon) + " вне пределов");
                row.latMinutes = static_cast<int>(std::lround(la * 60));
                row.lonMinutes = static_cast<int>(std::lround(lo * 60));
                CheckCoords(row);
            }
            const std::string zone = Trim(get("zone"));
            if (!zone.empty()) {
                row.zone = ReadDouble(zone, "часовой пояс");
                CheckZone(row);
            }
            const std::string summer = Trim(get("summer_hour"));
            if (summer == "1") row.summerHour = true;
            else if (!summer.empty() && summer != "0") throw LineError("summer_hour «" + EchoText(summer) + "» не 0 и не 1");
            row.comment = ToCp1251(get("comment"), "комментарий");
            out.rows.push_back(std::move(row));
        } catch (const LineError& e) {
            out.problems.push_back({line, "Файл «" + fileName + "», строка " + std::to_string(line) + ": " + e.message});
        }
    }
    return out;
}

// ---- AAF

std::vector<std::string> SplitFields(const std::string& data) {
    std::vector<std::string> out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = data.find(',', from);
        std::string f = Trim(data.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
        for (std::size_t p; (p = f.find(kComma)) != std::string::npos;) f.replace(p, 3, ",");
        out.push_back(f);
        if (comma == std::string::npos) return out;
        from = comma + 1;
    }
}

// "55n45", "0s30", "37e37", "116w59", with optional ":ss".
int AafAngleMinutes(const std::string& text, char plus, char minus, int limit, const char* what) {
    std::size_t at = text.find_first_of(std::string{plus, minus, char(plus - 32), char(minus - 32)});
    int deg = 0, min = 0, sec = 0;
    std::string rest = at == std::string::npos ? "" : text.substr(at + 1);
    const std::size_t colon = rest.find(':');
    if (at == std::string::npos || !Number(std::string_view(text).substr(0, at), deg, 3) ||
        !Number(std::string_view(rest).substr(0, colon), min, 2) ||
        (colon != std::string::npos && !Number(std::string_view(rest).substr(colon + 1), sec, 2)) || min > 59 ||
        sec > 59)
        throw LineError(std::string(what) + " «" + EchoText(text) + "» не в виде ГГ" + plus + "ММ");
    int total = deg * 60 + min + (sec >= 30 ? 1 : 0);
    if (total >= limit * 60) throw LineError(std::string(what) + " «" + EchoText(text) + "» вне пределов");
    const char hemisphere = static_cast<char>(text[at] | 0x20);
    return hemisphere == minus ? -total : total;
}

double AafZoneHours(const std::string& text) {
    const std::size_t h = Lower(text).find('h');
    if (h == std::string::npos) return ReadDouble(text, "часовой пояс");
    int hours = 0, minutes = 0;
    const std::string rest = Lower(text.substr(h + 1));
    if (!Number(std::string_view(text).substr(0, h), hours, 2) || rest.empty() || (rest[0] != 'e' && rest[0] != 'w') ||
        (rest.size() > 1 && !Number(std::string_view(rest).substr(1), minutes, 2)) || minutes > 59)
        throw LineError("часовой пояс «" + EchoText(text) + "» не в виде 3he00 или 5hw30");
    const double zone = hours + minutes / 60.0;
    return rest[0] == 'w' ? -zone : zone;
}

ImportParse ParseAaf(const std::string& text, const std::string& fileName) {
    ImportParse out;
    struct Chunk {
        int line;
        std::string id, data;
    };
    std::vector<Chunk> chunks;
    int line = 0;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t end = text.find('\n', from);
        std::string l = text.substr(from, end == std::string::npos ? std::string::npos : end - from);
        if (!l.empty() && l.back() == '\r') l.pop_back();
        ++line;
        const std::size_t colon = l.find(':');
        if (!l.empty() && l[0] == '#' && colon != std::string::npos) {
            chunks.push_back({line, l.substr(0, colon), l.substr(colon + 1)});
        } else if (!chunks.empty() && !Trim(l).empty()) {
            chunks.back().data += (chunks.back().id == "#COM" ? "\n" : "") + l;  // a chunk continued
        }
        if (end == std::string::npos) break;
        from = end + 1;
    }
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        if (chunks[i].id != "#A93") continue;
        ImportRow row;
        row.line = chunks[i].line;
        try {
            const std::vector<std::string> a = SplitFields(chunks[i].data);
            if (a.size() < 7) throw LineError("в #A93 меньше семи полей");
            std::string name = a[0] == "*" ? "" : a[0];
            if (!a[1].empty() && a[1] != "*") name += (name.empty() ? "" : " ") + a[1];
            ReadName(name, row);
            const std::string sex = Lower(a[2]);
            if (sex == "f" || sex == "w") row.sex = 'W';
            else if (sex == "m") row.sex = 'M';
            ReadDate(a[3], row);
            ReadTime(a[4], row);
            std::string place = a[5] == "*" ? "" : a[5];
            if (!a[6].empty() && a[6] != "*") place += (place.empty() ? "" : ", ") + a[6];
            row.place = ToCp1251(place, "место");
            for (std::size_t j = i + 1; j < chunks.size() && chunks[j].id != "#A93"; ++j) {
                if (chunks[j].id == "#COM") {
                    row.comment = ToCp1251(Trim(chunks[j].data), "комментарий");
                } else if (chunks[j].id == "#B93") {
                    const std::vector<std::string> b = SplitFields(chunks[j].data);
                    if (b.size() < 5) throw LineError("в #B93 (строка " + std::to_string(chunks[j].line) + ") меньше пяти полей");
                    if (b[1] != "*" && b[2] != "*") {
                        row.latMinutes = AafAngleMinutes(b[1], 'n', 's', 90, "широта");
                        row.lonMinutes = AafAngleMinutes(b[2], 'e', 'w', 180, "долгота");
                        CheckCoords(row);
                    }
                    if (b[3] != "*") {
                        row.zone = AafZoneHours(b[3]);
                        CheckZone(row);
                        if (b[4] == "1") row.summerHour = true;
                        else if (b[4] != "0" && b[4] != "*") {
                            const double extra = ReadDouble(b[4], "летнее время");
                            row.zone += extra;  // a shift other than one hour counts into the offset
                            CheckZone(row);
                        }
                    }
                }
            }
            out.rows.push_back(std::move(row));
        } catch (const LineError& e) {
            out.problems.push_back({row.line, "Файл «" + fileName + "», строка " + std::to_string(row.line) + ": " +
                                                  e.message});
        }
    }
    return out;
}

// ---- records

PersonRecord NewRecord(const ImportRow& row, TableKind kind) {
    PersonRecord r;
    std::memset(&r, 0, sizeof r);
    r.Name.set(PadRight(CutTo(row.name, 20), 20));
    r.Day = row.day;
    r.Month = row.month;
    r.Year = row.year;
    r.DateText.set(DateTextOf(row.day, row.month, row.year));
    r.Hour = row.timeKnown ? row.hour : 12;
    r.Minute = row.timeKnown ? row.minute : 0;
    r.TimeKnown = row.timeKnown ? 1 : 0;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", row.hour, row.minute);
    r.TimeText.set(row.timeKnown ? std::string(buf) : std::string(" --- "));
    r.Sex.set(kind == TableKind::Women ? "W" : "M");
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (!row.comment.empty()) {
        const std::size_t end = row.comment.find('\n', from);
        lines.push_back(row.comment.substr(from, end == std::string::npos ? std::string::npos : end - from));
        if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
        if (end == std::string::npos) break;
        from = end + 1;
    }
    r.Comment.set(EntryComment(lines));
    return r;
}

// The coordinate text of signed arc minutes, built as the chooser builds it
// from a city line ("-0" degrees for 0°xx' south or west).
std::string CoordTextOf(int lat, int lon) {
    auto deg = [](int minutes) {
        return std::string(minutes < 0 ? "-" : "") + std::to_string(std::abs(minutes) / 60);
    };
    char buf[64];
    std::snprintf(buf, sizeof buf, "%3s %02d %4s %02d", deg(lat).c_str(), std::abs(lat) % 60, deg(lon).c_str(),
                  std::abs(lon) % 60);
    return CoordText(std::string(31, ' ') + buf, "");
}

void Finish(PersonRecord& r) {
    StoreBirthMoment(r);
    r.Spare1 = 0;
    r.Spare2 = 0;
}

const char* SourceNote(PlaceSource s) {
    switch (s) {
        case PlaceSource::File: return "место, координаты и пояс из файла";
        case PlaceSource::Atlas: return "место из атласа, пояс на дату и время рождения";
        case PlaceSource::MenEntry: return "места нет в атласе: место как введено, пояс 0, без домов";
        case PlaceSource::Ambiguous: return "в атласе несколько городов с этим названием: выберите";
        case PlaceSource::Missing: return "места нет в атласе: нужны координаты и пояс";
    }
    return "";
}

}  // namespace

std::string ExportPeople(const PersonTable& table, ExchangeFormat format) {
    std::string out;
    if (format == ExchangeFormat::Csv) out = "name,sex,date,time,place,latitude,longitude,zone,summer_hour,comment\r\n";
    for (int slot : UsedSlots(table)) {
        const PersonRecord& r = table.slot(slot);
        const std::string name = Cp1251ToUtf8(TrimRight(r.Name.str()));
        const std::string place = Cp1251ToUtf8(TrimRight(r.Place.str()));
        const bool women = r.Sex.str() == "W" || (r.Sex.str() != "M" && table.kind == TableKind::Women);
        const Coords c = CoordsOf(r);
        const bool summer = r.ShiftFlag.str() == kFieldZoneMark;
        if (format == ExchangeFormat::Csv) {
            out += CsvField(name) + "," + (women ? "W" : "M") + "," + Cp1251ToUtf8(r.DateText.str()) + "," + TimeOf(r) +
                   "," + CsvField(place) + "," + (c.known ? Degrees(c.lat) : "") + "," +
                   (c.known ? Degrees(c.lon) : "") + "," + ZoneNumber(r.Zone) + "," + (summer ? "1" : "0") + "," +
                   CsvField(CommentOf(r)) + "\r\n";
        } else {
            char jd[40];
            std::snprintf(jd, sizeof jd, "%.6f", r.Moment + kJulianDayOfDayZero);
            const std::string time = TimeOf(r);
            out += "#A93:" + AafText(name) + ",*," + (women ? "f" : "m") + "," + Cp1251ToUtf8(r.DateText.str()) + "," +
                   (time.empty() ? "*" : time) + "," + AafText(place) + ",*\r\n";
            out += std::string("#B93:") + jd + "," + (c.known ? AafAngle(c.lat, 'n', 's') : "*") + "," +
                   (c.known ? AafAngle(c.lon, 'e', 'w') : "*") + "," + AafZone(r.Zone) + "," + (summer ? "1" : "0") +
                   "\r\n";
            const std::string comment = CommentOf(r);
            if (!comment.empty()) out += "#COM:" + comment + "\r\n";
        }
    }
    return out;
}

ExchangeFormat ExchangeFormatOfFile(const std::string& fileName, std::string_view content) {
    const std::size_t dot = fileName.rfind('.');
    const std::size_t slash = fileName.find_last_of("/\\");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        const std::string ext = Lower(fileName.substr(dot + 1));
        if (ext == "csv") return ExchangeFormat::Csv;
        if (ext == "aaf") return ExchangeFormat::Aaf;
    }
    if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
    const std::size_t first = content.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && content[first] == '#' ? ExchangeFormat::Aaf : ExchangeFormat::Csv;
}

ImportParse ParseExchange(std::string_view content, ExchangeFormat format, const std::string& fileName) {
    const std::string text = Decode(content, fileName);
    return format == ExchangeFormat::Csv ? ParseCsv(text, fileName) : ParseAaf(text, fileName);
}

std::vector<ImportPlan> PlanImport(const ImportParse& parse, TableKind kind, const CitySearch& search,
                                   const std::string& dataDir, const std::string& fileName,
                                   std::vector<ImportProblem>& problems) {
    std::vector<ImportPlan> plans;
    const char want = kind == TableKind::Women ? 'W' : 'M';
    for (const ImportRow& row : parse.rows) {
        const std::string where = "Файл «" + fileName + "», строка " + std::to_string(row.line) + ": ";
        if (row.sex != 0 && row.sex != want) {
            problems.push_back({row.line, where + (row.sex == 'W' ? "женщина, а список — мужчин"
                                                                  : "мужчина, а список — женщин")});
            continue;
        }
        ImportPlan plan;
        plan.row = row;
        PersonRecord r = NewRecord(row, kind);
        if (row.hasCoords && row.hasZone) {
            plan.source = PlaceSource::File;
            r.Place.set(PadRight(CutTo(row.place, kPlaceWidth), kPlaceWidth));
            r.CoordText.set(CoordTextOf(row.latMinutes, row.lonMinutes));
            r.Zone = row.zone;
            r.ZoneText.set(ZoneText(row.zone));
            r.ShiftFlag.set(row.summerHour ? kFieldZoneMark : kExactZoneMark);
        } else {
            // A city of the place's name, or of its first part before a comma:
            // a man's as a woman's, so that he gets its coordinates and zone.
            std::string city = row.place.substr(0, row.place.find(','));
            const std::string key = SearchKey(city);
            for (const CityHit& h : key.empty() ? std::vector<CityHit>{} : search.Find(city))
                if (SearchKey(h.city) == key) plan.candidates.push_back(h);
            plan.source = plan.candidates.empty()      ? PlaceSource::Missing
                          : plan.candidates.size() > 1 ? PlaceSource::Ambiguous
                                                       : PlaceSource::Atlas;
        }
        if (plan.source == PlaceSource::Missing && kind == TableKind::Men && !row.place.empty()) {
            // A place the atlas does not know: the man as the men's entry stores
            // one with a typed place.
            plan.source = PlaceSource::MenEntry;
            r.Place.set(PadRight(CutTo(row.place, 25), 26));
            r.CoordText.set(MenCoordText());
            r.Zone = 0;
            r.ZoneText.set("  0.0");
            r.ShiftFlag.set(kFieldZoneMark);
            if (row.timeKnown) {  // without a zone the time cannot be read
                r.Hour = 12, r.Minute = 0, r.TimeKnown = 0;
                r.TimeText.set(" --- ");
                plan.note = "время без пояса не учтено; ";
            }
        }
        plan.note += SourceNote(plan.source);
        if (plan.source == PlaceSource::File || plan.source == PlaceSource::MenEntry) {
            Finish(r);
            if (!IsServedMoment(r.Moment)) {
                problems.push_back({row.line, where + Trim(UnservedDateMessage(row.day, row.month, row.year))});
                continue;
            }
            plan.record = r;
        } else {
            plan.record.reset();
        }
        plans.push_back(std::move(plan));
        if (plans.back().source == PlaceSource::Atlas) {
            try {
                ChooseCandidate(plans.back(), 0, dataDir);
            } catch (const Error& e) {
                problems.push_back({row.line, where + e.what()});
                plans.pop_back();
            }
        }
    }
    return plans;
}

void ChooseCandidate(ImportPlan& plan, std::size_t candidate, const std::string& dataDir) {
    if (candidate >= plan.candidates.size()) return;
    const CityHit& hit = plan.candidates[candidate];
    const std::string file = JoinPath(dataDir, kAtlasRegions[hit.region].file);
    const std::optional<ZoneTable> zones = LoadZoneTableOf(dataDir);
    BirthTime birth{plan.row.day, plan.row.month, plan.row.year, plan.row.timeKnown, plan.row.hour, plan.row.minute};
    if (!birth.known) birth.hour = 12, birth.minute = 0;
    const PlaceChoice choice =
        pelorin::ChoosePlace(ReadRegionLines(file), hit.country, hit.city, birth, zones ? &*zones : nullptr, file);
    PersonRecord r = NewRecord(plan.row, TableKind::Women);
    if (plan.row.sex == 'M' || (plan.record && plan.record->Sex.str() == "M")) r.Sex.set("M");
    ApplyPlaceChoice(r, choice);
    Finish(r);
    if (!IsServedMoment(r.Moment)) throw Error(Trim(UnservedDateMessage(plan.row.day, plan.row.month, plan.row.year)));
    plan.record = r;
    plan.source = PlaceSource::Atlas;
    plan.note = SourceNote(PlaceSource::Atlas);
}

namespace {

bool Listed(const std::string& nameKey, int day, int month, int year, bool timeKnown, int hour, int minute,
            const PersonTable& table) {
    for (int slot : UsedSlots(table)) {
        const PersonRecord& r = table.slot(slot);
        if (r.Day != day || r.Month != month || r.Year != year) continue;
        if (r.TimeKnown && timeKnown && (r.Hour != hour || r.Minute != minute)) continue;
        if (SearchKey(r.Name.str()) == nameKey) return true;
    }
    return false;
}

}  // namespace

bool AlreadyListed(const ImportRow& row, const PersonTable& table) {
    return Listed(SearchKey(row.name), row.day, row.month, row.year, row.timeKnown, row.hour, row.minute, table);
}

bool AlreadyListed(const PersonRecord& record, const PersonTable& table) {
    return Listed(SearchKey(record.Name.str()), record.Day, record.Month, record.Year, record.TimeKnown != 0,
                  record.Hour, record.Minute, table);
}

ImportStored StoreImported(const std::vector<PersonRecord>& records, TableKind kind, const std::string& dataDir,
                           std::time_t now, ImportDuplicates duplicates) {
    ImportStored out;
    out.slotOf.assign(records.size(), 0);
    if (records.empty()) return out;
    const DirLock lock(dataDir);
    const std::string file = JoinPath(dataDir, PersonFileName(kind));
    PersonTable table{kind, {}};
    LoadPersonFile(file, table);
    const PersonTable before = table;  // the people listed before this import
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (duplicates == ImportDuplicates::Skip && AlreadyListed(records[i], before)) {
            out.listed.push_back(i);
            continue;
        }
        const int slot = FirstFreeSlot(table);
        if (slot == 0) {
            out.full = true;
            break;
        }
        PersonRecord r = records[i];
        r.Stamp.set(MakeUniqueStamp(table, now));
        BuildListLine(r);
        table.slot(slot) = r;
        out.slots.push_back(slot);
        out.slotOf[i] = slot;
    }
    if (!out.slots.empty()) SavePersonFile(file, table);
    return out;
}

std::string FullTableImportMessage(TableKind kind, std::size_t stored, std::size_t wanted) {
    return std::string(kind == TableKind::Women ? "В списке женщин" : "В списке мужчин") +
           " нет места для всех: сохранено " + std::to_string(stored) + " из " + std::to_string(wanted) +
           " (не более 99 человек)";
}

}  // namespace pelorin
