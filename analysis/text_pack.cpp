#include "analysis/text_pack.h"

#include <cstdlib>
#include <vector>

#include "base/cp1251.h"
#include "base/errors.h"

namespace pelorin {

namespace {

std::string Where(const std::string& source, int line) {
    return "Источник «" + source + "», строка " + std::to_string(line) + ": ";
}

// 1-based character position of byte offset `byte` in a UTF-8 line.
std::size_t CharPosition(std::string_view utf8, std::size_t byte) {
    std::size_t pos = 0, chars = 0;
    while (pos < byte && pos < utf8.size()) {
        DecodeUtf8(utf8, pos);
        ++chars;
    }
    return chars + 1;
}

}  // namespace

PackedText PackTextSource(EntryKind kind, std::string_view utf8, const std::string& sourceName) {
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
    std::vector<std::string> lines;
    if (!utf8.empty()) lines = SplitTextLines(utf8);
    if (lines.size() > static_cast<std::size_t>(kLastHeaderLine))
        throw Error("Источник «" + sourceName + "»: " + std::to_string(lines.size()) +
                    " строк, а база может занимать не больше " + std::to_string(kLastHeaderLine) +
                    " (заголовки ищутся только в строках 1–" + std::to_string(kLastHeaderLine) + ").");

    PackedText out;
    out.lines = static_cast<int>(lines.size());
    const bool skipsTitle = kind != EntryKind::Natal;  // the never-copied line after the header
    const bool weighted = kind == EntryKind::Aspect || kind == EntryKind::House;
    enum class State { Outside, AfterHeader, InText } state = State::Outside;
    int header = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        std::size_t bad = std::string::npos;
        const std::string l = Utf8ToCp1251(lines[i], &bad);
        if (bad != std::string::npos)
            throw Error(Where(sourceName, n) + "символ в позиции " + std::to_string(CharPosition(lines[i], bad)) +
                        " не имеет кода в Windows-1251.");
        out.plain += l;
        out.plain += "\r\n";
        const bool isHeader = !l.empty() && l[0] == '*';
        const bool isEnd = !l.empty() && l[0] == '@';
        if (state != State::Outside && isHeader)
            throw Error(Where(sourceName, header) + "у записи нет строки окончания «@» (строка " + std::to_string(n) +
                        " начинается со «*» и была бы принята за заголовок).");
        switch (state) {
            case State::Outside:
                if (!isHeader) break;  // lines between entries are passed over
                for (int k = 1; k <= ConvertedFields(kind); ++k) {
                    if (!HeaderField(l, k)) {
                        const std::size_t start = 2 + 4 * static_cast<std::size_t>(k - 1);
                        const std::string field = start < l.size() ? l.substr(start, 3) : std::string();
                        throw Error(Where(sourceName, n) + "поле " + std::to_string(k) + " заголовка «" +
                                    Cp1251ToUtf8(field) + "» не является числом.");
                    }
                }
                if (weighted) {
                    const int w = EntryWeight(*HeaderField(l, 1), *HeaderField(l, 2));
                    if (std::abs(w) > 10)
                        throw Error(Where(sourceName, n) + "вес " + std::to_string(w) +
                                    " вне пределов от 1 до 10 по модулю.");
                }
                header = n;
                ++out.entries;
                state = skipsTitle ? State::AfterHeader : State::InText;
                break;
            case State::AfterHeader:
                if (isEnd)
                    throw Error(Where(sourceName, header) + "сразу за заголовком стоит строка окончания «@»; "
                                "строка за заголовком не выводится, и запись осталась бы без окончания.");
                state = State::InText;
                break;
            case State::InText:
                if (isEnd) state = State::Outside;
                break;
        }
    }
    if (state != State::Outside)
        throw Error(Where(sourceName, header) + "у записи нет строки окончания «@» до конца файла.");
    return out;
}

}  // namespace pelorin
