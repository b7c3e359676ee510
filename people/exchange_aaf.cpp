// The reader of the astrological exchange format AAF: records of chunks, each
// chunk a line "#ID:" and fields separated by commas, a record beginning with its
// "#A93" chunk (human-readable data: name, first name, type, date, time, place
// and country) and followed by its "#B93" (the instant as a Julian day, latitude,
// longitude, zone and the kind of time) and "#COM" (a comment). Other chunks and
// the comment lines "#:" are passed over.
#include <cmath>
#include <cstdio>

#include "base/cp1251.h"
#include "people/exchange_read.h"

namespace pelorin {

ImportParse ParseAaf(const std::string& text, const std::string& fileName);

namespace {

using namespace exchange;

constexpr const char* kComma = "\xE2\x80\x9A";  // U+201A: a comma inside an AAF field (Pelorin's own export)
constexpr double kJulianDayOfDayZero = 2415020.0;

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

std::string Given(const std::string& field) { return field == "*" ? std::string() : field; }

// The fields 0..6 of "#A93": name, first name, type, date, time, place, country.
// A place written across several fields ("Downers Grove, USA, Illinois") is kept
// whole.
void ReadA93(const std::vector<std::string>& a, ImportRow& row) {
    if (a.size() < 7) throw LineError("в #A93 меньше семи полей");
    std::string name = Given(a[0]);
    const std::string first = Given(a[1]);
    if (!first.empty()) name += (name.empty() ? "" : " ") + first;
    const std::string type = Lower(Given(a[2]));
    if (type == "f" || type == "w") {
        row.sex = 'W';
    } else if (type == "m") {
        row.sex = 'M';
    } else if (type == "e" || type == "l" || type == "o") {
        throw LineError(std::string("запись не о человеке (тип «") + a[2] + "»: " +
                        (type == "e" ? "событие" : type == "l" ? "страна" : "организация") + ")");
    } else if (type.empty()) {
        row.notes.push_back("пол не указан («*»): в тот список, в который идёт импорт");
    } else {
        // A first name written where the type belongs.
        if (first.empty()) name += (name.empty() ? "" : " ") + a[2];
        row.notes.push_back("пол не указан (в его поле «" + EchoText(a[2]) + "»" +
                            (first.empty() ? ", добавлено к имени" : "") + "): в тот список, в который идёт импорт");
    }
    ReadName(name, row);
    ReadDate(a[3], row);
    ReadTime(a[4], row);
    std::string place;
    for (std::size_t i = 5; i < a.size(); ++i)
        if (!Given(a[i]).empty()) place += (place.empty() ? "" : ", ") + a[i];
    row.place = FieldText(place, "место", row);
}

struct B93 {
    bool present = false;
    bool hasJulianDay = false;
    double julianDay = 0;
};

// "#B93": Julian day, latitude, longitude, zone, kind of time: "0" zone time,
// "1" one hour of summer time, "L" or "m" local mean time (zone "*": the
// longitude divided by 15), another number hours of clock shift that count into
// the zone, "*" not known.
B93 ReadB93(const std::vector<std::string>& b, int line, ImportRow& row) {
    B93 out;
    out.present = true;
    if (b.size() < 5) throw LineError("в #B93 (строка " + std::to_string(line) + ") меньше пяти полей");
    if (!Given(b[0]).empty()) {
        const double jd = ReadDouble(b[0], "юлианский день");
        if (jd != 0) out.hasJulianDay = true, out.julianDay = jd;  // "0.00000" stands for none
    }
    long lonSeconds = 0;
    if (!Given(b[1]).empty() && !Given(b[2]).empty()) {
        const long lat = AafAngleSeconds(b[1], 'n', 's', 90, "широта");
        lonSeconds = AafAngleSeconds(b[2], 'e', 'w', 180, "долгота");
        SetCoords(row, lat, lonSeconds);
    }
    const std::string kind = Lower(b[4]);
    const bool localMean = kind == "l" || kind == "m";
    const ZoneReading zone = ReadAafZone(b[3]);
    if (zone.kind == ZoneReading::Hours) {
        SetZone(row, zone.hours);
        if (localMean) row.notes.push_back("местное среднее время " + ZoneShown(zone.hours));
    } else if ((zone.kind == ZoneReading::LocalMean || localMean) && row.hasCoords) {
        SetLocalMeanTime(row, lonSeconds);
    }
    if (kind == "1") {
        row.summerHour = true;
    } else if (kind != "0" && kind != "*" && !kind.empty() && !localMean) {
        const double extra = ReadDouble(b[4], "летнее время");
        if (row.hasZone) SetZone(row, row.zone + extra);  // a shift other than one hour counts into the offset
    }
    return out;
}

std::string Minutes(double minutes) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", std::fabs(minutes));
    return buf;
}

// The #B93 Julian day is the file's statement of the instant. Where the date,
// time and zone give another one (by more than a minute), the instant is the
// Julian day's and the zone the one it implies, unless that zone is beyond any
// (the Julian day then belongs to another date): the note says which was used.
// Without a zone the Julian day gives it. A birth without a time has no instant.
void CheckInstant(const B93& b, ImportRow& row) {
    if (!b.hasJulianDay || !row.timeKnown) return;
    const double local = LocalDayNumber(row);
    const double instant = b.julianDay - kJulianDayOfDayZero;
    const double summer = row.summerHour ? 1 : 0;
    const double implied = (local - instant) * 24 - summer;
    const bool plausible = std::isfinite(implied) && std::fabs(implied) <= 14;
    char jd[40];
    std::snprintf(jd, sizeof jd, "%.5f", b.julianDay);
    if (!row.hasZone) {
        if (plausible) {
            SetZone(row, implied);
            row.notes.push_back(std::string("пояс по моменту #B93 (юлианский день ") + jd + "): " + ZoneShown(implied));
        } else {
            row.notes.push_back(std::string("юлианский день #B93 ") + jd + " не подходит к дате и времени: пояс не известен");
        }
        return;
    }
    const double byFields = local - (row.zone + summer) / 24;
    const double apart = (instant - byFields) * 1440;
    if (!(std::fabs(apart) > 1)) return;
    const std::string said = std::string("момент #B93 (юлианский день ") + jd +
                             ") расходится с датой, временем и поясом на " + Minutes(apart) + " мин: ";
    if (plausible) {
        row.notes.push_back(said + "взят момент #B93, пояс " + ZoneShown(implied) + " вместо " + ZoneShown(row.zone));
        SetZone(row, implied);
    } else {
        row.notes.push_back(said + "взяты дата, время и пояс (юлианский день не подходит к дате)");
    }
}

}  // namespace

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
        const std::string l = text.substr(from, end == std::string::npos ? std::string::npos : end - from);
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
            ReadA93(SplitFields(chunks[i].data), row);
            B93 b;
            // The record's chunks, up to the next record or its first sub-horoscope
            // ("#SUB..."), whose chunks are the sub-horoscope's.
            for (std::size_t j = i + 1; j < chunks.size() && chunks[j].id != "#A93"; ++j) {
                if (chunks[j].id.starts_with("#SUB")) break;
                if (chunks[j].id == "#COM") row.comment = FieldText(Trim(chunks[j].data), "комментарий", row);
                else if (chunks[j].id == "#B93" && !b.present) b = ReadB93(SplitFields(chunks[j].data), chunks[j].line, row);
            }
            CheckInstant(b, row);
            out.rows.push_back(std::move(row));
        } catch (const LineError& e) {
            out.problems.push_back({row.line, LineMessage(fileName, row.line, e.message)});
        }
    }
    return out;
}

}  // namespace pelorin
