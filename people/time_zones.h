#pragma once
// The zone table of the atlas: for every time zone its cities use, the UTC
// offsets, summer time included, and the instants at which they change, from
// 1800 to 2100 (made from tzdata by tools/make_atlas.py and shipped as
// "zones.tzt" beside the region files). The program reads only this file, never
// the time zones of the system it runs on.
//
// The file is ASCII text, lines ended by CR LF or LF:
//   PELORIN ZONES 1
//   <any text: the tzdata release and the span>
//   <N, the number of zones>
//   then for k = 1..N:  Z <k> <name> <offset before the first change> <M>
//                       and M lines  <instant> <offset>
//   END
// Instants are seconds since 1970-01-01 00:00 UTC, strictly rising within a zone;
// offsets are seconds east of Greenwich. Fields are separated by one blank.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

// File name of the table, appended to the data directory.
inline constexpr const char* kZoneTableFile = "\\zones.tzt";

inline constexpr std::int32_t kMaxZoneOffset = 18 * 3600;          // seconds, either side
inline constexpr std::int64_t kMaxZoneInstant = 20'000'000'000;     // seconds, either side of 1970
inline constexpr int kMaxZones = 9999;                              // four columns in the atlas

struct ZoneChange {
    std::int64_t instant = 0;  // seconds since 1970-01-01 00:00 UTC
    std::int32_t offset = 0;   // seconds east of Greenwich from `instant` on
};

struct TimeZone {
    std::string name;             // IANA name, such as "Europe/Moscow"
    std::int32_t firstOffset = 0; // before the first change
    std::vector<ZoneChange> changes;
};

class ZoneTable {
public:
    // Reads the table from the file's content. Throws Error naming `fileName` and
    // the line when anything does not have the form above.
    static ZoneTable Parse(std::string_view content, const std::string& fileName);

    // Reads and parses the file. Throws Error naming the file.
    static ZoneTable Load(const std::string& fileName);

    std::size_t size() const { return zones_.size(); }

    // Zone number 1..size(); nullptr for any other number.
    const TimeZone* zone(int number) const;

private:
    std::vector<TimeZone> zones_;
};

// The table of a data directory, or nothing when the directory has none (an
// atlas from before the table). Throws Error naming the file when it is there
// but does not read.
std::optional<ZoneTable> LoadZoneTableOf(const std::string& dataDir);

// Seconds from 1970-01-01 00:00 to a local civil date and time, counted as if
// they were UTC (Gregorian calendar, also before 1582).
std::int64_t LocalSeconds(int day, int month, int year, int hour, int minute);

// How a local time relates to the zone's changes of clock.
enum class LocalTimeKind {
    Plain,     // shown by the clocks exactly once
    Skipped,   // in the hour (or so) skipped when the clocks went forward
    Repeated,  // in the hour (or so) shown twice when the clocks went back
};

struct LocalOffset {
    std::int32_t offset = 0;  // seconds east of Greenwich
    LocalTimeKind kind = LocalTimeKind::Plain;
};

// The UTC offset of a zone at a local time (seconds as LocalSeconds counts
// them). A local time that a change of clocks skips or repeats is read with the
// offset in force before the change: a skipped time as if the clocks had not yet
// gone forward, a repeated one as its first occurrence.
LocalOffset OffsetAtLocalTime(const TimeZone& zone, std::int64_t localSeconds);

// The UTC offset of a zone at a UTC instant.
std::int32_t OffsetAtInstant(const TimeZone& zone, std::int64_t utcSeconds);

}  // namespace pelorin
