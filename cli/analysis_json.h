#pragma once
// JSON pieces shared by the commands that print charts and analyses: the names
// of the bodies and an aspect grid.
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/aspects.h"
#include "astro/chart_types.h"
#include "cli/json.h"

namespace pelorin::cli {

// The bodies in chart order, as the JSON names them.
inline constexpr const char* kBodyNames[kBodyCount] = {"Sun",     "Moon",   "Mercury", "Venus",   "Mars",
                                                       "Jupiter", "Saturn", "Uranus",  "Neptune", "Pluto"};

// Body n of the databases' numbering (1..10); empty for any other number.
inline std::string BodyName(int n) { return n >= 1 && n <= kBodyCount ? kBodyNames[n - 1] : ""; }

// Ten rows of ten cells, each the aspect's angle or 255 for none.
inline std::string GridJson(const AspectGrid& grid) {
    std::vector<std::string> rows;
    for (const auto& row : grid) {
        std::vector<std::string> cells;
        for (std::uint8_t c : row) cells.push_back(JsonNumber(static_cast<int>(c)));
        rows.push_back(JsonArray(cells));
    }
    return JsonArray(rows);
}

}  // namespace pelorin::cli
