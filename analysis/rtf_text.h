#pragma once
// A reader of the rich text the report writers produce, for the two report
// views: paragraphs of runs with their font, size, weight and slant. It reads
// any RTF without failing (unknown control words and destinations are passed
// over), so a damaged or edited report still shows what can be read of it.
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

struct RtfRun {
    std::string text;  // Windows-1251
    int font = 0;      // \fN: the font table index
    int halfPoints = 24;  // \fsN
    bool bold = false;
    bool italic = false;
};

struct RtfParagraph {
    bool centred = false;  // \qc
    std::vector<int> tabStops;  // \txN, twips from the left margin
    std::vector<RtfRun> runs;
};

struct RtfDocument {
    std::vector<std::string> fonts;  // font table names by index (empty when missing)
    std::vector<RtfParagraph> paragraphs;
};

RtfDocument ParseRtf(std::string_view rtf);

}  // namespace pelorin
