#pragma once
// What the CSV and the AAF readers share: the file's bytes decoded to text, the
// fields of a person read into an ImportRow with a note for everything converted,
// and the refusal of one person (LineError). Used by exchange*.cpp only.
#include <optional>
#include <string>
#include <string_view>

#include "people/exchange.h"

namespace pelorin::exchange {

// One person of the file does not read: the message says why (UTF-8, without
// the file and line, which the reader adds).
class LineError {
public:
    explicit LineError(std::string m) : message(std::move(m)) {}
    std::string message;
};

// "Файл «NAME», строка N: MESSAGE".
std::string LineMessage(const std::string& fileName, int line, const std::string& message);

std::string Trim(std::string_view s);
std::string Lower(std::string s);  // ASCII letters only
// Digits only, at most `maxDigits` of them.
bool Number(std::string_view s, int& out, std::size_t maxDigits);

// The content as UTF-8 text with LF line ends. `wanted` Auto decides as
// ExchangeEncoding says; `used` receives the encoding read. Throws Error naming
// the file when the bytes are not text in it (a control byte, a byte the code
// page lacks, UTF-8 that does not decode when UTF-8 is asked for).
std::string DecodeText(std::string_view content, ExchangeEncoding wanted, const std::string& fileName,
                       ExchangeEncoding& used);

// The Windows-1251 text of a UTF-8 field. Letters the code page lacks become their
// nearest ("ü" u, "ß" ss, "ł" l; accents dropped), any other such character "?";
// the row's notes then say what became of the field (`what`, such as "имя").
std::string FieldText(const std::string& utf8, const char* what, ImportRow& row);

// The name: bracketed source marks ("[Adb]") dropped, letters as FieldText,
// more than 20 characters cut to 20, each with a note. Refuses an empty name.
void ReadName(const std::string& utf8, ImportRow& row);

// The birth date: D.M.YYYY with an optional calendar mark of the AAF ("G"
// Gregorian, "J" Julian: turned into its Gregorian date, with a note), YYYY-MM-DD,
// or D/M/YYYY and M/D/YYYY where one number is above 12. With `timeAfter`, a time
// after the date (ISO "T" or a blank) is read too. Refuses a date of no calendar
// and one outside the served years.
void ReadDate(const std::string& text, ImportRow& row, bool timeAfter = false);

// The birth time: H:MM, H:MM:SS, with AM or PM; empty, "*" or "---": unknown.
void ReadTime(const std::string& text, ImportRow& row);

double ReadDouble(const std::string& text, const char* what);

// An angle of the AAF: degrees, the hemisphere letter (either case), minutes and
// optional ":seconds" ("55n45", "51N38:00", "008E31:00", "88w1"). Signed arc
// seconds, `minus` negative. Refuses anything else, and |angle| >= limit degrees.
long AafAngleSeconds(const std::string& text, char plus, char minus, int limit, const char* what);

// Sets the row's coordinates from signed arc seconds (the record keeps whole
// minutes). Refuses latitude of 90° or more and longitude of 180° or more.
void SetCoords(ImportRow& row, long latSeconds, long lonSeconds);

// A zone of the AAF: "3he00", "1he", "5hw42:56", "01hE00:00", also without "h"
// ("00E00", "0e21:48"); "0" and "00:00" are 0 whatever the sign convention.
// Nothing for "*"; LocalMean for "L" or "LMT". Refuses a number without e or w
// (east or west cannot be told) and anything else.
struct ZoneReading {
    enum Kind { None, Hours, LocalMean } kind = None;
    double hours = 0;  // east positive, seconds included
};
ZoneReading ReadAafZone(const std::string& text);

// Sets the row's zone; refuses one beyond 14 hours either side.
void SetZone(ImportRow& row, double hours);
// The local mean time of a longitude (arc seconds, east positive): its zone is
// the longitude divided by 15.
void SetLocalMeanTime(ImportRow& row, long lonSeconds);

// A zone for a note: "+3:00", "−5:42:56".
std::string ZoneShown(double hours);

// The day number (days since 1900 January 0.5) of the row's local date and time,
// seconds included, as if it were Universal Time.
double LocalDayNumber(const ImportRow& row);

}  // namespace pelorin::exchange
