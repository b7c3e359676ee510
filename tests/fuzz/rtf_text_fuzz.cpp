// libFuzzer entry for the reader of the report views: any bytes are read as
// rich text. Besides the sanitizers: every run has a font of the table's range,
// a size the reader accepts and some text; neighbouring runs of a paragraph
// differ in their formatting; no more text comes out than bytes went in; the
// same bytes read twice give the same document. Built and run by
// tests/fuzz/run.sh (seed: reports the program writes, and pieces of them).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "analysis/rtf_text.h"
#include "tests/fuzz/fuzz_support.h"

using namespace pelorin;
using namespace pelorin::fuzz;

namespace {

bool SameFormat(const RtfRun& a, const RtfRun& b) {
    return a.font == b.font && a.halfPoints == b.halfPoints && a.bold == b.bold && a.italic == b.italic;
}

bool SameDocument(const RtfDocument& a, const RtfDocument& b) {
    if (a.fonts != b.fonts || a.paragraphs.size() != b.paragraphs.size()) return false;
    for (std::size_t p = 0; p < a.paragraphs.size(); ++p) {
        const RtfParagraph& x = a.paragraphs[p];
        const RtfParagraph& y = b.paragraphs[p];
        if (x.centred != y.centred || x.runs.size() != y.runs.size()) return false;
        for (std::size_t r = 0; r < x.runs.size(); ++r)
            if (x.runs[r].text != y.runs[r].text || !SameFormat(x.runs[r], y.runs[r])) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RtfDocument doc = ParseRtf(bytes);
    Check(!doc.paragraphs.empty(), "a document has a paragraph");
    Check(doc.fonts.size() <= 256, "font table indexes stay below 256");
    std::size_t text = 0;
    for (const std::string& f : doc.fonts) text += f.size();
    for (const RtfParagraph& p : doc.paragraphs) {
        for (std::size_t r = 0; r < p.runs.size(); ++r) {
            const RtfRun& run = p.runs[r];
            Check(!run.text.empty(), "a run holds text");
            Check(run.font >= 0 && run.font < 256, "run font in range");
            Check(run.halfPoints > 0 && run.halfPoints < 2000, "run size in range");
            Check(r == 0 || !SameFormat(p.runs[r - 1], run), "neighbouring runs differ in formatting");
            text += run.text.size();
        }
    }
    Check(text <= size, "no more text than input");
    Check(SameDocument(doc, ParseRtf(bytes)), "reading is repeatable");
    return 0;
}
