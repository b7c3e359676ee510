// The export of a person table to CSV and AAF, the format of a file, and the
// reading of a file's content by its format (the readers: exchange_csv.cpp and
// exchange_aaf.cpp).
#include "people/exchange.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "astro/birth_moment.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "people/atlas.h"
#include "people/exchange_read.h"
#include "people/person_chart.h"
#include "people/person_entry.h"

namespace pelorin {

ImportParse ParseCsv(const std::string& text, const std::string& fileName);
ImportParse ParseAaf(const std::string& text, const std::string& fileName);

namespace {

constexpr double kJulianDayOfDayZero = 2415020.0;  // day number 0 as a Julian Day
constexpr const char* kComma = "\xE2\x80\x9A";     // U+201A: a comma inside an AAF field

std::string TrimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// The shortest text of a number that reads back to it.
std::string Shortest(double v, int from) {
    char buf[40];
    for (int digits = from; digits <= 17; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*f", digits, v);
        if (std::strtod(buf, nullptr) == v) break;
    }
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s == "-0" ? "0" : s;
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

// A zone in hours, with as many decimals as it takes to read back the same zone
// (a zone of local mean time has seconds).
std::string ZoneNumber(double zone) { return Shortest(zone, 0); }

struct Coords {
    bool known = false;
    int lat = 0, lon = 0;  // arc minutes
};

// A man entered with a typed place: the fixed coordinate text, zone 0 and no
// time. His place is not known; the text is no place of his.
bool TypedPlace(const PersonRecord& r) {
    return r.CoordText.str() == MenCoordText() && r.Zone == 0 && r.TimeKnown == 0;
}

Coords CoordsOf(const PersonRecord& r) {
    Coords c;
    if (TypedPlace(r)) return c;
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

// The seconds of a birth time that the moment carries beyond the record's
// minute (a time imported with seconds); 0 for the rest.
int SecondsOf(const PersonRecord& r) {
    if (!r.TimeKnown) return 0;
    const double rule = FormBirthMoment(r.Day, r.Month, r.Year, r.Hour, r.Minute, true, r.Zone, r.ShiftFlag == "L");
    const double seconds = (r.Moment - rule) * 86400;
    if (!std::isfinite(seconds)) return 0;
    const long s = std::lround(seconds);
    return s >= 1 && s <= 59 && std::fabs(seconds - double(s)) < 0.01 ? int(s) : 0;
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
    if (!r.TimeKnown) return "";
    char buf[32];
    const int s = SecondsOf(r);
    if (s != 0) std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", r.Hour, r.Minute, s);
    else std::snprintf(buf, sizeof buf, "%02d:%02d", r.Hour, r.Minute);
    return buf;
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
    const long total = std::lround(std::fabs(zone) * 3600);
    char buf[48];
    if (total % 60 != 0)
        std::snprintf(buf, sizeof buf, "%ldh%c%02ld:%02ld", total / 3600, zone < 0 ? 'w' : 'e', total / 60 % 60,
                      total % 60);
    else
        std::snprintf(buf, sizeof buf, "%ldh%c%02ld", total / 3600, zone < 0 ? 'w' : 'e', total / 60 % 60);
    return buf;
}

}  // namespace

const char* ExchangeEncodingName(ExchangeEncoding encoding) {
    switch (encoding) {
        case ExchangeEncoding::Auto: return "auto";
        case ExchangeEncoding::Utf8: return "utf-8";
        case ExchangeEncoding::Cp1251: return "cp1251";
        case ExchangeEncoding::Latin1: return "latin1";
    }
    return "";
}

std::optional<ExchangeEncoding> ExchangeEncodingNamed(std::string_view name) {
    for (ExchangeEncoding e : {ExchangeEncoding::Auto, ExchangeEncoding::Utf8, ExchangeEncoding::Cp1251,
                               ExchangeEncoding::Latin1})
        if (name == ExchangeEncodingName(e)) return e;
    return std::nullopt;
}

std::string ExportPeople(const PersonTable& table, ExchangeFormat format) {
    std::string out;
    if (format == ExchangeFormat::Csv) out = "name,sex,date,time,place,latitude,longitude,zone,summer_hour,comment\r\n";
    for (int slot : UsedSlots(table)) {
        const PersonRecord& r = table.slot(slot);
        const std::string name = Cp1251ToUtf8(TrimRight(r.Name.str()));
        const std::string place = Cp1251ToUtf8(TrimRight(r.Place.str()));
        const bool women = r.Sex.str() == "W" || (r.Sex.str() != "M" && table.kind == TableKind::Women);
        const Coords c = CoordsOf(r);
        const bool zoneKnown = !TypedPlace(r);
        const bool summer = r.ShiftFlag.str() == kFieldZoneMark;
        if (format == ExchangeFormat::Csv) {
            out += CsvField(name) + "," + (women ? "W" : "M") + "," + Cp1251ToUtf8(r.DateText.str()) + "," + TimeOf(r) +
                   "," + CsvField(place) + "," + (c.known ? Degrees(c.lat) : "") + "," +
                   (c.known ? Degrees(c.lon) : "") + "," + (zoneKnown ? ZoneNumber(r.Zone) : "") + "," +
                   (zoneKnown ? (summer ? "1" : "0") : "") + "," + CsvField(CommentOf(r)) + "\r\n";
        } else {
            // A birth without a time has no instant to state.
            char jd[40] = "*";
            if (r.TimeKnown) std::snprintf(jd, sizeof jd, "%.6f", r.Moment + kJulianDayOfDayZero);
            const std::string time = TimeOf(r);
            out += "#A93:" + AafText(name) + ",*," + (women ? "f" : "m") + "," + Cp1251ToUtf8(r.DateText.str()) + "," +
                   (time.empty() ? "*" : time) + "," + AafText(place) + ",*\r\n";
            out += std::string("#B93:") + jd + "," + (c.known ? AafAngle(c.lat, 'n', 's') : "*") + "," +
                   (c.known ? AafAngle(c.lon, 'e', 'w') : "*") + "," + (zoneKnown ? AafZone(r.Zone) : "*") + "," +
                   (zoneKnown ? (summer ? "1" : "0") : "*") + "\r\n";
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
        const std::string ext = exchange::Lower(fileName.substr(dot + 1));
        if (ext == "csv") return ExchangeFormat::Csv;
        if (ext == "aaf") return ExchangeFormat::Aaf;
    }
    if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
    const std::size_t first = content.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && content[first] == '#' ? ExchangeFormat::Aaf : ExchangeFormat::Csv;
}

ImportParse ParseExchange(std::string_view content, ExchangeFormat format, const std::string& fileName,
                          ExchangeEncoding encoding) {
    ExchangeEncoding used = ExchangeEncoding::Utf8;
    const std::string text = exchange::DecodeText(content, encoding, fileName, used);
    ImportParse parse = format == ExchangeFormat::Csv ? ParseCsv(text, fileName) : ParseAaf(text, fileName);
    parse.encoding = used;
    return parse;
}

}  // namespace pelorin
