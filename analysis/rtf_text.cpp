#include "analysis/rtf_text.h"

#include <cctype>
#include <cstdlib>

namespace pelorin {

namespace {

struct CharState {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool skip = false;       // inside a destination that is not shown
    bool fontTable = false;  // inside {\fonttbl ...}
};

// Groups nested deeper than this are read as if flat: no real report comes near.
constexpr std::size_t kMaxDepth = 64;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Reader {
public:
    explicit Reader(std::string_view s) : s_(s) { doc_.paragraphs.emplace_back(); }

    RtfDocument Read() {
        std::vector<CharState> stack;
        CharState st;
        bool centred = false;
        std::vector<int> tabStops;  // of the paragraph being read (\txN, until \pard)
        int currentFontEntry = -1;
        while (pos_ < s_.size()) {
            const char c = s_[pos_];
            if (c == '{') {
                ++pos_;
                if (stack.size() < kMaxDepth) stack.push_back(st);
                // "{\*\dest ...}" is a destination a reader may pass over.
                if (s_.substr(pos_, 2) == "\\*") st.skip = true;
                continue;
            }
            if (c == '}') {
                ++pos_;
                if (!stack.empty()) {
                    st = stack.back();
                    stack.pop_back();
                }
                continue;
            }
            if (c == '\r' || c == '\n') {
                ++pos_;
                continue;
            }
            if (c != '\\') {
                Text(st, std::string(1, c), currentFontEntry);
                ++pos_;
                continue;
            }
            // A control word or symbol.
            ++pos_;
            if (pos_ >= s_.size()) break;
            const char n = s_[pos_];
            if (n == '\\' || n == '{' || n == '}') {
                Text(st, std::string(1, n), currentFontEntry);
                ++pos_;
                continue;
            }
            if (n == '\'') {
                const int hi = pos_ + 1 < s_.size() ? HexValue(s_[pos_ + 1]) : -1;
                const int lo = pos_ + 2 < s_.size() ? HexValue(s_[pos_ + 2]) : -1;
                if (hi >= 0 && lo >= 0) {
                    Text(st, std::string(1, static_cast<char>(hi * 16 + lo)), currentFontEntry);
                    pos_ += 3;
                } else {
                    ++pos_;
                }
                continue;
            }
            if (!std::isalpha(static_cast<unsigned char>(n))) {
                if (n == '~') Text(st, "\xA0", currentFontEntry);
                ++pos_;
                continue;
            }
            std::size_t start = pos_;
            while (pos_ < s_.size() && std::isalpha(static_cast<unsigned char>(s_[pos_])) && pos_ - start < 32) ++pos_;
            const std::string word(s_.substr(start, pos_ - start));
            bool hasValue = false;
            long value = 0;
            bool negative = false;
            if (pos_ < s_.size() && s_[pos_] == '-') {
                negative = true;
                ++pos_;
            }
            std::size_t digits = 0;
            while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
                if (digits < 9) value = value * 10 + (s_[pos_] - '0');
                ++digits;
                ++pos_;
                hasValue = true;
            }
            if (negative) value = -value;
            if (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;  // the delimiting blank belongs to the word

            if (word == "par") {
                if (!st.skip && !st.fontTable) {
                    doc_.paragraphs.back().centred = centred;
                    doc_.paragraphs.back().tabStops = tabStops;
                    doc_.paragraphs.emplace_back();
                }
            } else if (word == "pard") {
                centred = false;
                tabStops.clear();
            } else if (word == "tx") {
                if (hasValue && value > 0 && value < 31680 && tabStops.size() < 64) tabStops.push_back(static_cast<int>(value));
            } else if (word == "qc") {
                centred = true;
            } else if (word == "ql" || word == "qr" || word == "qj") {
                centred = false;
            } else if (word == "b") {
                st.bold = !hasValue || value != 0;
            } else if (word == "i") {
                st.italic = !hasValue || value != 0;
            } else if (word == "plain") {
                st.bold = st.italic = false;
                st.halfPoints = 24;
                st.font = 0;
            } else if (word == "fs") {
                if (hasValue && value > 0 && value < 2000) st.halfPoints = static_cast<int>(value);
            } else if (word == "f") {
                if (st.fontTable) {
                    currentFontEntry = hasValue && value >= 0 && value < 256 ? static_cast<int>(value) : -1;
                } else if (hasValue && value >= 0 && value < 256) {
                    st.font = static_cast<int>(value);
                }
            } else if (word == "fonttbl") {
                st.fontTable = true;
            } else if (word == "colortbl" || word == "stylesheet" || word == "info" || word == "pict") {
                st.skip = true;
            } else if (word == "tab") {
                Text(st, "\t", currentFontEntry);
            }
            // Every other word (\rtf, \ansi, \viewkind, \lang, ...) changes nothing shown.
        }
        doc_.paragraphs.back().centred = centred;
        doc_.paragraphs.back().tabStops = tabStops;
        if (doc_.paragraphs.back().runs.empty() && doc_.paragraphs.size() > 1) doc_.paragraphs.pop_back();
        return std::move(doc_);
    }

private:
    void Text(const CharState& st, const std::string& t, int fontEntry) {
        if (st.skip) return;
        if (st.fontTable) {
            if (fontEntry < 0) return;
            if (doc_.fonts.size() <= static_cast<std::size_t>(fontEntry)) doc_.fonts.resize(fontEntry + 1);
            if (t != ";") doc_.fonts[fontEntry] += t;
            return;
        }
        auto& runs = doc_.paragraphs.back().runs;
        if (runs.empty() || runs.back().font != st.font || runs.back().halfPoints != st.halfPoints ||
            runs.back().bold != st.bold || runs.back().italic != st.italic)
            runs.push_back(RtfRun{"", st.font, st.halfPoints, st.bold, st.italic});
        runs.back().text += t;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    RtfDocument doc_;
};

}  // namespace

RtfDocument ParseRtf(std::string_view rtf) { return Reader(rtf).Read(); }

}  // namespace pelorin
