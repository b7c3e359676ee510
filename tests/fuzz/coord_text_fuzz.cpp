// libFuzzer entry for the coordinate text of a person (19 Windows-1251
// characters such as " 37°37’ВД  55°45’СШ"): the first 19 bytes are the text,
// the next 8 (when present) the day number of the moment, and the houses are
// computed. Not part of the test suite; built and run by tests/fuzz/run.sh (seed:
// coordinate texts of data/FEMIN.DAT).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "astro/houses.h"
#include "base/errors.h"
#include "tests/fuzz/fuzz_support.h"
#include "people/person_chart.h"

using namespace pelorin;
using namespace pelorin::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size < 19 ? size : 19);
    double moment = 32000.5;
    if (size >= 27) std::memcpy(&moment, data + 19, sizeof moment);

    bool parsed = true;
    PlaceCoords p;
    try {
        p = ParseCoordText(text);
    } catch (const Error& e) {
        parsed = false;
    }
    if (parsed)
        Check(std::fabs(p.longitude) <= 999 + 99 / 60.0 && std::fabs(p.latitude) <= 99 + 99 / 60.0,
              "coordinates bounded by their digits");
    if (parsed && size >= 19) {
        // A longer text is cut to 19 characters.
        const PlaceCoords q = ParseCoordText(text + std::string(reinterpret_cast<const char*>(data), size));
        Check(q.longitude == p.longitude && q.latitude == p.latitude, "text cut to 19 characters");
    }

    TCusps cusps{};
    for (double& c : cusps.cusp) c = 123.0;
    try {
        const HouseStatus s = ComputeHouses(text, moment, cusps);
        Check(parsed, "houses only of a text that reads");
        if (s == HouseStatus::BeyondLatitude) {
            for (double c : cusps.cusp) Check(c == 0, "no houses beyond the latitude limit");
        } else if (std::isfinite(moment) && std::fabs(moment) < 1e7) {
            for (int n = 1; n <= 12; ++n) Check(cusps[n] >= 0 && cusps[n] < 360, "cusps within 0..360");
        }
    } catch (const Error&) {
        Check(!parsed, "a text that reads gives houses");
        for (double c : cusps.cusp) Check(c == 0, "cusps cleared on an error");
    }
    return 0;
}
