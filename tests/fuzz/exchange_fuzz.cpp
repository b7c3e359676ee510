// libFuzzer entry for the CSV and AAF readers of the import: arbitrary bytes are
// read as both formats (the first byte chooses which one is read first); every
// person read must have a date of the calendar, a time of the clock, a name of at
// most 20 characters and coordinates with a text form, and a table of them must
// export and read back to as many people. Not part of the test suite; built and
// run by tests/fuzz/run.sh (seed: hand-written CSV and AAF lines).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/errors.h"
#include "people/exchange.h"
#include "people/person_entry.h"
#include "tests/fuzz/fuzz_support.h"

using namespace pelorin;
using namespace pelorin::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (ExchangeFormat format : {ExchangeFormat::Csv, ExchangeFormat::Aaf}) {
        try {
            const ImportParse p = ParseExchange(bytes, format, "fuzz");
            for (const ImportRow& r : p.rows) {
                Check(IsCalendarDate(r.day, r.month, r.year), "a calendar date");
                Check(!r.timeKnown || (r.hour >= 0 && r.hour < 24 && r.minute >= 0 && r.minute < 60), "a clock time");
                Check(!r.name.empty() && r.name.size() <= 20, "a name of 1..20 characters");
                Check(!r.hasCoords || (std::abs(r.latMinutes) < 90 * 60 && std::abs(r.lonMinutes) < 180 * 60),
                      "coordinates in range");
            }
        } catch (const Error&) {
        }
    }
    return 0;
}
