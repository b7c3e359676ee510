// libFuzzer entry for the zone table: arbitrary bytes are read as "zones.tzt";
// an accepted table is walked and the offset of every zone looked up at local
// times around each of its changes. Not part of the test suite; built and run by
// tests/fuzz/run.sh (seed: the first zones of data/zones.tzt).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "base/errors.h"
#include "people/time_zones.h"
#include "tests/fuzz/fuzz_support.h"

using namespace pelorin;
using namespace pelorin::fuzz;

namespace {

bool OffsetInRange(std::int64_t offset) { return offset >= -kMaxZoneOffset && offset <= kMaxZoneOffset; }

// A local time shown by the clocks (once, or first of two showings) is the
// instant `local - offset` at which the zone has that offset.
void CheckLocal(const TimeZone& zone, std::int64_t local) {
    const LocalOffset at = OffsetAtLocalTime(zone, local);
    Check(OffsetInRange(at.offset), "offset within range");
    if (at.kind != LocalTimeKind::Skipped)
        Check(OffsetAtInstant(zone, local - at.offset) == at.offset, "a shown local time maps back to its offset");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    ZoneTable table;
    try {
        table = ZoneTable::Parse(content, "fuzz");
    } catch (const Error& e) {
        Check(std::strlen(e.what()) > 0, "error has a message");
        return 0;
    }
    Check(table.size() >= 1 && table.size() <= static_cast<std::size_t>(kMaxZones), "zone count");
    Check(table.zone(0) == nullptr && table.zone(static_cast<int>(table.size()) + 1) == nullptr,
          "no zone outside 1..N");
    for (std::size_t k = 1; k <= table.size(); ++k) {
        const TimeZone* zone = table.zone(static_cast<int>(k));
        Check(zone != nullptr && !zone->name.empty(), "every zone listed and named");
        Check(OffsetInRange(zone->firstOffset), "first offset within range");
        for (std::size_t i = 0; i < zone->changes.size(); ++i) {
            const ZoneChange& c = zone->changes[i];
            Check(OffsetInRange(c.offset) && c.instant >= -kMaxZoneInstant && c.instant <= kMaxZoneInstant,
                  "change within range");
            Check(i == 0 || zone->changes[i - 1].instant < c.instant, "changes rising");
            if (i < 64)
                for (std::int64_t d : {-kMaxZoneOffset - 1, -3600, -1, 0, 1, 1800, 3600, kMaxZoneOffset + 1})
                    CheckLocal(*zone, c.instant + d);
        }
        CheckLocal(*zone, LocalSeconds(1, 1, 1900, 12, 0));
        CheckLocal(*zone, LocalSeconds(31, 12, 2099, 23, 59));
    }
    return 0;
}
