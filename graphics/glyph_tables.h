#pragma once
// The character codes of the symbol font "Glyphar v.3.0" that draw the signs, the
// bodies and the aspects, and their Russian names. A code is a Windows-1251 byte;
// the font draws code c as the character U+F000 + c.
#include <array>
#include <string_view>

namespace pelorin {

inline constexpr const char* kSymbolFontFamily = "Glyphar v.3.0";

// Sign n (1 Aries .. 12 Pisces) is the code 0x3F + n; index 0 is unused (0).
extern const std::array<unsigned char, 13> SignGlyphs;

// Bodies, index 0..53, parallel to BodyNames. Index 1..10 are the ten bodies of a
// chart in chart order (Sun .. Pluto).
extern const std::array<unsigned char, 54> BodyGlyphs;

// Indexed by the aspect angle in whole degrees, 0..180; 0 where there is no glyph.
extern const std::array<unsigned char, 181> AspectGlyphs;

// Russian names (UTF-8). BodyNames index 1..48, SignNames index 1..12; index 0
// (and BodyNames 49..53, which have no name) is empty.
extern const std::array<std::string_view, 54> BodyNames;
extern const std::array<std::string_view, 13> SignNames;

struct AspectName {
    std::string_view name;
    std::string_view degreeText;   // shown
    std::string_view degreeValue;  // index into AspectGlyphs
};
// Rows 1..5; row 0 is empty.
extern const std::array<AspectName, 6> AspectNames;

// The degree value of an AspectNames row as an integer, or -1 when it is not a
// whole number of degrees in 0..180.
int AspectDegreeValue(const AspectName& row);

// AspectGlyphs at an angle, 0 outside 0..180.
unsigned char AspectGlyphAt(int degrees);

}  // namespace pelorin
