#pragma once
// The symbol font "Glyphar v.3.0" on the Qt side: registration from the program's
// resources and the strings that draw symbol codes in it.
#include <QFont>
#include <QString>
#include <string_view>

namespace pelorin {

// Registers the embedded font with the application's font database (once; later
// calls return the same result), and gives "Courier" and "Arial" their metric
// twins for systems without them. Returns the family name, or an empty string when
// the font could not be registered.
QString InstallSymbolFont();

// The string that draws the symbol code `code` (a Windows-1251 byte): U+F000 + code.
QString SymbolText(unsigned char code);

// A Windows-1251 text written in the symbol font, byte by byte as symbol codes, so
// that digits, letters and signs within it draw as the font has them.
QString SymbolString(std::string_view cp1251);

// "Glyphar v.3.0" at the given point size.
QFont SymbolFont(double pointSize, bool bold = false);

}  // namespace pelorin
