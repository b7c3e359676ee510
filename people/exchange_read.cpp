#include "people/exchange_read.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "astro/base_routines.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "people/person_entry.h"

namespace pelorin::exchange {
namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252, the Latin-1 of Windows
// files; 0 where the code page has no character.
constexpr std::array<char16_t, 32> kWindows1252 = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

bool IsUtf8(std::string_view content) {
    for (std::size_t pos = 0; pos < content.size();) {
        const std::size_t at = pos;
        const char32_t cp = DecodeUtf8(content, pos);
        if (cp == 0xFFFD && content.substr(at, 3) != "\xEF\xBF\xBD") return false;
    }
    return true;
}

// Which single-byte code page the words of the content suggest. A word that
// mixes ASCII letters with letters of the upper half ("Müller", "nützlichen")
// is Latin-1: read as Windows-1251 it would mix Latin and Cyrillic. A word of two
// or more upper-half letters and no ASCII letter ("Анна") is Windows-1251. The
// majority decides; a tie is Windows-1251, the program's own.
ExchangeEncoding PlausibleCodePage(std::string_view content) {
    int latin = 0, cyrillic = 0;
    int ascii = 0, upper = 0;
    auto endWord = [&] {
        if (ascii > 0 && upper > 0) ++latin;
        else if (ascii == 0 && upper >= 2) ++cyrillic;
        ascii = upper = 0;
    };
    for (unsigned char c : content) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) ++ascii;
        else if (c >= 0xC0 || c == 0xA8 || c == 0xB8) ++upper;
        else endWord();
    }
    endWord();
    return latin > cyrillic ? ExchangeEncoding::Latin1 : ExchangeEncoding::Cp1251;
}

std::string NotText(const std::string& fileName, ExchangeEncoding wanted) {
    switch (wanted) {
        case ExchangeEncoding::Utf8: return "Файл «" + fileName + "» не в кодировке UTF-8";
        case ExchangeEncoding::Cp1251: return "Файл «" + fileName + "» не в кодировке Windows-1251";
        case ExchangeEncoding::Latin1: return "Файл «" + fileName + "» не в кодировке Latin-1";
        case ExchangeEncoding::Auto: break;
    }
    return "Файл «" + fileName + "» не в кодировке UTF-8, Windows-1251 или Latin-1";
}

// A letter the code page lacks as the nearest letters it has (Latin-1 Supplement,
// Latin Extended-A, the Romanian comma letters), "" for a combining accent, or
// nothing.
std::optional<std::string> NearestLetters(char32_t c) {
    static constexpr std::string_view kLatin1 =
        "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty";  // U+00C0..U+00FF
    static constexpr std::string_view kExtendedA =
        "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTt"
        "UuUuUuUuUuUuWwYyYZzZzZzs";  // U+0100..U+017F
    switch (c) {
        case 0xDF: return "ss";
        case 0xC6: return "AE";
        case 0xE6: return "ae";
        case 0xDE: return "Th";
        case 0xFE: return "th";
        case 0x152: return "OE";
        case 0x153: return "oe";
        case 0x132: return "IJ";
        case 0x133: return "ij";
        case 0x218: return "S";
        case 0x219: return "s";
        case 0x21A: return "T";
        case 0x21B: return "t";
        case 0x2010: case 0x2011: case 0x2012: case 0x2015: case 0x2212: return "-";
        case 0x2032: case 0x02BC: return "'";
        case 0x2033: return "\"";
        default: break;
    }
    if (c >= 0x300 && c <= 0x36F) return "";  // a combining accent
    if (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7) return std::string(1, kLatin1[c - 0xC0]);
    if (c >= 0x100 && c <= 0x17F) return std::string(1, kExtendedA[c - 0x100]);
    return std::nullopt;
}

}  // namespace

std::string LineMessage(const std::string& fileName, int line, const std::string& message) {
    return "Файл «" + fileName + "», строка " + std::to_string(line) + ": " + message;
}

std::string Trim(std::string_view s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(" \t") - b + 1));
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
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

std::string DecodeText(std::string_view content, ExchangeEncoding wanted, const std::string& fileName,
                       ExchangeEncoding& used) {
    const bool bom = content.substr(0, 3) == "\xEF\xBB\xBF";
    if (bom && wanted != ExchangeEncoding::Cp1251 && wanted != ExchangeEncoding::Latin1) content.remove_prefix(3);
    used = wanted;
    if (wanted == ExchangeEncoding::Auto)
        used = bom || IsUtf8(content) ? ExchangeEncoding::Utf8 : PlausibleCodePage(content);
    std::string text;
    switch (used) {
        case ExchangeEncoding::Utf8:
            if (!IsUtf8(content)) throw Error(NotText(fileName, wanted));
            text = std::string(content);
            break;
        case ExchangeEncoding::Cp1251:
            if (content.find('\x98') != std::string_view::npos) throw Error(NotText(fileName, wanted));
            text = Cp1251ToUtf8(content);
            break;
        case ExchangeEncoding::Latin1:
        case ExchangeEncoding::Auto:
            text.reserve(content.size() * 2);
            for (unsigned char c : content) {
                const char32_t cp = c >= 0x80 && c < 0xA0 ? char32_t(kWindows1252[c - 0x80]) : char32_t(c);
                if (cp == 0) throw Error(NotText(fileName, wanted));
                AppendUtf8(text, cp);
            }
            break;
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
        if (c < 0x20 && c != '\n' && c != '\t')
            throw Error("Файл «" + fileName + "», строка " + std::to_string(line) +
                        ": управляющий знак — это не текст в UTF-8, Windows-1251 или Latin-1");
    }
    return text;
}

std::string FieldText(const std::string& utf8, const char* what, ImportRow& row) {
    std::string out;
    out.reserve(utf8.size());
    bool replaced = false, lost = false;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = DecodeUtf8(utf8, pos);
        if (const std::optional<unsigned char> b = c == 0xFFFD ? std::nullopt : CodePointToCp1251(c)) {
            out += static_cast<char>(*b);
        } else if (const std::optional<std::string> near = NearestLetters(c)) {
            out += *near;
            replaced = true;
        } else {
            out += '?';
            lost = true;
        }
    }
    if (replaced || lost)
        row.notes.push_back(std::string(what) + " «" + EchoText(utf8) + "» записано как «" + EchoText(Cp1251ToUtf8(out)) +
                            "»: " +
                            (lost ? "знаков, которых нет в Windows-1251, нет и похожих букв — они заменены на «?»"
                                  : "буквы, которых нет в Windows-1251, заменены ближайшими"));
    return out;
}

void ReadName(const std::string& utf8, ImportRow& row) {
    std::string name = Trim(utf8), marks;
    for (std::size_t open; (open = name.find('[')) != std::string::npos;) {
        const std::size_t close = name.find(']', open);
        if (close == std::string::npos) break;
        marks += (marks.empty() ? "" : " ") + name.substr(open, close - open + 1);
        name.erase(open, close - open + 1);
    }
    if (!marks.empty()) {
        std::string single;  // the blanks around a mark become one
        for (char c : name)
            if (c != ' ' || (!single.empty() && single.back() != ' ')) single += c;
        name = Trim(single);
        row.notes.push_back("отметка источника " + EchoText(marks) + " убрана из имени");
    }
    row.name = FieldText(name, "имя", row);
    if (row.name.empty()) throw LineError("нет имени");
    if (row.name.size() > 20) {
        const std::string whole = Cp1251ToUtf8(row.name);
        row.name = Trim(row.name.substr(0, 20));
        row.notes.push_back("имя «" + EchoText(whole) + "» длиннее 20 знаков: сохранено «" + Cp1251ToUtf8(row.name) + "»");
    }
}

void ReadDate(const std::string& given, ImportRow& row, bool timeAfter) {
    std::string text = Trim(given);
    if (timeAfter) {
        // "1994-01-06 11:47:00", "1879-03-14T11:30:00": the time after the date.
        const std::size_t cut = text.find_first_of("T ");
        if (cut != std::string::npos && cut >= 8) {
            ReadTime(Trim(text.substr(cut + 1)), row);
            text = text.substr(0, cut);
        }
    }
    const std::string bad = "дата «" + EchoText(text) + "» не в виде ДД.ММ.ГГГГ или ГГГГ-ММ-ДД";
    char mark = 0;
    if (!text.empty() && std::string_view("GgJj").find(text.back()) != std::string_view::npos) {
        mark = static_cast<char>(text.back() | 0x20);
        text.pop_back();
        text = Trim(text);  // "15.12.1980 G"
    }
    auto parts = [&](char sep) {
        std::vector<std::string> out;
        std::size_t from = 0;
        for (std::size_t at; (at = text.find(sep, from)) != std::string::npos; from = at + 1)
            out.push_back(text.substr(from, at - from));
        out.push_back(text.substr(from));
        return out;
    };
    int a = 0, b = 0, c = 0;
    if (const auto dot = parts('.'); dot.size() == 3) {
        if (!Number(dot[0], a, 2) || !Number(dot[1], b, 2) || !Number(dot[2], c, 4) || dot[2].size() != 4)
            throw LineError(bad);
        row.day = a, row.month = b, row.year = c;
    } else if (const auto iso = parts('-'); iso.size() == 3 && mark == 0) {
        if (!Number(iso[0], c, 4) || iso[0].size() != 4 || !Number(iso[1], b, 2) || !Number(iso[2], a, 2))
            throw LineError(bad);
        row.day = a, row.month = b, row.year = c;
    } else if (const auto slash = parts('/'); slash.size() == 3 && mark == 0) {
        if (!Number(slash[0], a, 2) || !Number(slash[1], b, 2) || !Number(slash[2], c, 4) || slash[2].size() != 4)
            throw LineError(bad);
        // Day first or month first: only a number above 12 tells.
        if (a > 12 && b <= 12) row.day = a, row.month = b;
        else if (b > 12 && a <= 12) row.day = b, row.month = a;
        else if (a == b) row.day = a, row.month = b;
        else
            throw LineError("дата «" + EchoText(text) + "» неоднозначна: день и месяц можно прочесть двояко " +
                            "(ДД/ММ/ГГГГ или ММ/ДД/ГГГГ); запишите её как ДД.ММ.ГГГГ или ГГГГ-ММ-ДД");
        row.year = c;
    } else {
        throw LineError(bad);
    }
    if (mark == 'j') {
        if (!IsJulianCalendarDate(row.day, row.month, row.year))
            throw LineError("даты «" + text + "» нет и в юлианском календаре");
        const std::string julian = DateTextOf(row.day, row.month, row.year);
        JulianToGregorian(row.day, row.month, row.year);
        row.notes.push_back("дата " + julian + " по юлианскому календарю (старому стилю): сохранена " +
                            DateTextOf(row.day, row.month, row.year) + " по григорианскому");
    } else if (!IsCalendarDate(row.day, row.month, row.year)) {
        throw LineError("даты «" + text + "» не бывает");
    }
    if (!IsServedYear(row.year)) throw LineError(Trim(UnservedDateMessage(row.day, row.month, row.year)));
}

void ReadTime(const std::string& given, ImportRow& row) {
    std::string text = Trim(given);
    if (text.empty() || text == "*" || text == "---" || text == "--:--") return;
    const std::string bad = "время «" + EchoText(text) + "» не в виде ЧЧ:ММ";
    int half = 0;  // 12-hour clock: 1 AM, 2 PM
    const std::string low = Lower(text);
    if (low.size() > 2 && (low.ends_with("am") || low.ends_with("pm"))) {
        half = low.ends_with("am") ? 1 : 2;
        text = Trim(text.substr(0, text.size() - 2));
    }
    const std::size_t colon = text.find(':');
    const std::size_t colon2 = colon == std::string::npos ? colon : text.find(':', colon + 1);
    const std::string minutes = text.substr(colon + 1, colon2 == std::string::npos ? std::string::npos : colon2 - colon - 1);
    int second = 0;
    if (colon == std::string::npos || !Number(std::string_view(text).substr(0, colon), row.hour, 2) ||
        !Number(minutes, row.minute, 2) || minutes.size() != 2 ||
        (colon2 != std::string::npos && (!Number(text.substr(colon2 + 1), second, 2) || text.size() - colon2 != 3)))
        throw LineError(bad);
    if (half != 0) {
        if (row.hour < 1 || row.hour > 12) throw LineError("времени «" + EchoText(given) + "» не бывает");
        row.hour = row.hour % 12 + (half == 2 ? 12 : 0);
    }
    if (row.hour > 23 || row.minute > 59 || second > 59)
        throw LineError("времени «" + text + "» не бывает (00:00..23:59)");
    row.second = second;
    row.timeKnown = true;
}

double ReadDouble(const std::string& text, const char* what) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(v))
        throw LineError(std::string(what) + " «" + EchoText(text) + "» не число");
    return v;
}

long AafAngleSeconds(const std::string& text, char plus, char minus, int limit, const char* what) {
    const std::size_t at = Lower(text).find_first_of(std::string{plus, minus});
    int deg = 0, min = 0, sec = 0;
    const std::string rest = at == std::string::npos ? "" : text.substr(at + 1);
    const std::size_t colon = rest.find(':');
    if (at == std::string::npos || !Number(std::string_view(text).substr(0, at), deg, 3) ||
        !Number(std::string_view(rest).substr(0, colon), min, 2) ||
        (colon != std::string::npos && !Number(std::string_view(rest).substr(colon + 1), sec, 2)) || min > 59 ||
        sec > 59)
        throw LineError(std::string(what) + " «" + EchoText(text) + "» не в виде ГГ" + plus + "ММ");
    const long total = deg * 3600L + min * 60L + sec;
    if (total >= limit * 3600L) throw LineError(std::string(what) + " «" + EchoText(text) + "» вне пределов");
    return (text[at] | 0x20) == minus ? -total : total;
}

void SetCoords(ImportRow& row, long latSeconds, long lonSeconds) {
    if (std::labs(latSeconds) >= 90 * 3600L) throw LineError("широта вне пределов (меньше 90°)");
    if (std::labs(lonSeconds) >= 180 * 3600L) throw LineError("долгота вне пределов (меньше 180°)");
    auto minutes = [](long seconds) {
        const long m = (std::labs(seconds) + 30) / 60;
        return static_cast<int>(seconds < 0 ? -m : m);
    };
    row.latMinutes = minutes(latSeconds);
    row.lonMinutes = minutes(lonSeconds);
    // 89°59'40" rounds to the pole, which the record cannot hold.
    if (std::abs(row.latMinutes) >= 90 * 60) row.latMinutes = row.latMinutes < 0 ? -(90 * 60 - 1) : 90 * 60 - 1;
    if (std::abs(row.lonMinutes) >= 180 * 60) row.lonMinutes = row.lonMinutes < 0 ? -(180 * 60 - 1) : 180 * 60 - 1;
    row.hasCoords = true;
}

ZoneReading ReadAafZone(const std::string& given) {
    const std::string text = Lower(Trim(given));
    ZoneReading z;
    if (text.empty() || text == "*") return z;
    if (text == "l" || text == "lmt") {
        z.kind = ZoneReading::LocalMean;
        return z;
    }
    const std::string bad = "часовой пояс «" + EchoText(given) + "» не в виде 3he00 или 5hw30";
    std::size_t i = 0;
    auto digits = [&](std::size_t most, int& out) {
        const std::size_t from = i;
        while (i < text.size() && i - from < most && text[i] >= '0' && text[i] <= '9') ++i;
        return i > from && Number(std::string_view(text).substr(from, i - from), out, most);
    };
    int hours = 0, minutes = 0, seconds = 0;
    if (!digits(2, hours)) throw LineError(bad);
    if (i < text.size() && text[i] == 'h') ++i;
    char side = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'w')) side = text[i++];
    else if (i < text.size() && text[i] == ':') ++i;  // "00:00"
    if (i < text.size() && text[i] != ':' && !digits(2, minutes)) throw LineError(bad);
    if (i < text.size() && text[i] == ':') {
        ++i;
        if (!digits(2, seconds)) throw LineError(bad);
    }
    if (i != text.size() || minutes > 59 || seconds > 59) throw LineError(bad);
    const int total = hours * 3600 + minutes * 60 + seconds;
    if (side == 0 && total != 0)
        throw LineError("часовой пояс «" + EchoText(given) +
                        "» без e или w: восток это или запад, не ясно (пишут 3he00 или 5hw00)");
    z.kind = ZoneReading::Hours;
    z.hours = (side == 'w' ? -total : total) / 3600.0;
    return z;
}

void SetZone(ImportRow& row, double hours) {
    if (!std::isfinite(hours) || std::fabs(hours) > 14)
        throw LineError("часовой пояс вне пределов (от −14 до 14 часов)");
    row.zone = hours;
    row.hasZone = true;
}

void SetLocalMeanTime(ImportRow& row, long lonSeconds) {
    // 15" of arc are one second of time.
    SetZone(row, lonSeconds / 54000.0);
    row.notes.push_back("местное среднее время: пояс по долготе " + ZoneShown(row.zone));
}

std::string ZoneShown(double hours) {
    const long total = std::lround(std::fabs(hours) * 3600);
    char buf[48];
    if (total % 60 != 0)
        std::snprintf(buf, sizeof buf, "%s%ld:%02ld:%02ld", hours < 0 ? "−" : "+", total / 3600, total / 60 % 60,
                      total % 60);
    else
        std::snprintf(buf, sizeof buf, "%s%ld:%02ld", hours < 0 ? "−" : "+", total / 3600, total / 60 % 60);
    return buf;
}

double LocalDayNumber(const ImportRow& row) {
    const bool known = row.timeKnown;
    return DayNumberOf(row.day, row.month, row.year, known ? row.hour : 12, known ? row.minute : 0,
                       known ? row.second : 0);
}

}  // namespace pelorin::exchange
