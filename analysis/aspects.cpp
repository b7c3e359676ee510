#include "analysis/aspects.h"

#include <algorithm>
#include <cmath>

namespace pelorin {

void ClearAspectGrid(AspectGrid& grid) {
    for (auto& row : grid) row.fill(kNoAspect);
}

std::uint8_t MatchAspect(std::uint8_t angle, double orb, double a, double b) {
    double d = std::fabs(b - a);
    if (d > 180) d = std::fabs(d - 360);  // the shorter arc
    // Written as "not within" so that a longitude that is not a number never
    // makes an aspect; for every real longitude this is |d - angle| > orb.
    if (!(std::fabs(d - angle) <= orb)) return kNoAspect;
    return angle;
}

void FindMutualAspects(const TChart& woman, const TChart& man, AspectGrid& grid) {
    ClearAspectGrid(grid);
    for (int r = 0; r < kBodyCount; ++r) {
        for (int c = 0; c < kBodyCount; ++c) {
            const double orb = std::max(MutualOrbs[static_cast<std::size_t>(r)],
                                        MutualOrbs[static_cast<std::size_t>(c)]);
            for (std::uint8_t angle : AspectAngles) {
                const std::uint8_t found = MatchAspect(angle, orb, man[c].Lon, woman[r].Lon);
                if (found != kNoAspect) {
                    grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = found;
                    break;
                }
            }
        }
    }
}

void FindNatalAspects(const TChart& man, NatalAspectGrid& grid) {
    ClearAspectGrid(grid);
    for (int i = 0; i < kBodyCount; ++i) {
        for (int j = 0; j < kBodyCount; ++j) {
            for (std::size_t k = 0; k < AspectAngles.size(); ++k) {
                const std::uint8_t found = MatchAspect(AspectAngles[k], NatalOrbs[k], man[j].Lon, man[i].Lon);
                if (found != kNoAspect) {
                    grid[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = found;
                    break;
                }
            }
        }
    }
}

void PlaceInHouses(const TChart& man, const TCusps& cusps, HouseOverlay& overlay) {
    for (int b = 0; b < kBodyCount; ++b) {
        const double lon = man[b].Lon;
        std::int32_t house = 0;
        // Houses 1..11 run from cusp i to cusp i+1, house 12 from cusp 12 to cusp 1.
        for (int i = 1; i <= 12; ++i) {
            const double from = cusps[i];
            const double to = cusps[i == 12 ? 1 : i + 1];
            if (to > from) {
                if (from <= lon && lon < to) house = i;
            } else if (to < from) {  // the house runs through 0° Aries
                if (from <= lon && lon < 360) house = i;
                if (lon < to) house = i;
            }
            // Equal cusps: the house takes nothing.
        }
        overlay[static_cast<std::size_t>(b)] = house;
    }
}

}  // namespace pelorin
