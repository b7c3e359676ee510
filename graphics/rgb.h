#pragma once
// A colour as red, green and blue, the way the drawings give their colours.
#include <cstdint>

namespace pelorin {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

}  // namespace pelorin
