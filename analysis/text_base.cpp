#include "analysis/text_base.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "base/cp1251.h"
#include "base/errors.h"
#include "base/file_io.h"

namespace pelorin {

const std::array<unsigned char, 20> FileKey{0x5A, 0xC3, 0x17, 0x8E, 0x41, 0xF2, 0x6B, 0x09, 0xD4, 0x3C,
                                            0x95, 0x27, 0xE8, 0x70, 0xB1, 0x1F, 0x66, 0xCA, 0x03, 0x9D};

std::string ScrambleBytes(std::string_view bytes) {
    std::string out(bytes);
    for (std::size_t k = 0; k < out.size(); ++k)
        out[k] = static_cast<char>(static_cast<unsigned char>(out[k]) ^ FileKey[k % FileKey.size()]);
    return out;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    do {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        pos = end + 1;
    } while (pos < text.size());
    return lines;
}

std::optional<int> HeaderField(std::string_view line, int field) {
    const std::size_t start = 2 + 4 * static_cast<std::size_t>(field - 1);
    if (field < 1 || field > kHeaderFields || start >= line.size()) return std::nullopt;
    std::string_view s = line.substr(start, 3);
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    if (i == s.size()) return std::nullopt;
    int v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        v = v * 10 + (s[i] - '0');
    }
    return negative ? -v : v;
}

int EntryWeight(int plusField, int minusField) {
    if (plusField > 0) return plusField;
    if (minusField > 0) return -minusField;
    return 0;
}

int ConvertedFields(EntryKind kind) { return kind == EntryKind::Natal ? 4 : kHeaderFields; }

namespace {

bool NeedsWeight(EntryKind kind) { return kind == EntryKind::Aspect || kind == EntryKind::House; }

bool IsHeader(const std::string& line) { return !line.empty() && line[0] == '*'; }
bool IsEndLine(const std::string& line) { return !line.empty() && line[0] == '@'; }

// The key of a header under a lookup kind, from fields F1..F7 (index 1..7).
EntryKey KeyOf(EntryKind kind, const std::array<int, 8>& f) {
    switch (kind) {
        case EntryKind::Aspect: return {f[3], f[4], f[7], 0};
        case EntryKind::House: return {f[3], f[5], 0, 0};
        case EntryKind::Natal: return {f[1], f[2], f[3], f[4]};
        case EntryKind::Sign: return {f[2], f[3], f[4], 0};
    }
    return {};
}

// Converts the first `count` fields; false when one is not a number.
bool ConvertFields(const std::string& line, int count, std::array<int, 8>& f) {
    f.fill(0);
    for (int k = 1; k <= count; ++k) {
        auto v = HeaderField(line, k);
        if (!v) return false;
        f[static_cast<std::size_t>(k)] = *v;
    }
    return true;
}

std::string Quoted(const std::string& name) { return "«" + name + "»"; }

}  // namespace

TextBase::TextBase() : lines_(kTextBaseLines + 1) { BuildIndex(); }

TextBase::TextBase(std::string name, std::vector<std::string> lines)
    : name_(std::move(name)), lines_(kTextBaseLines + 1) {
    if (lines.size() > static_cast<std::size_t>(kTextBaseLines))
        throw Error("База " + Quoted(name_) + " длиннее " + std::to_string(kTextBaseLines) + " строк: строка " +
                    std::to_string(kTextBaseLines + 1) + " не помещается.");
    count_ = static_cast<int>(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) lines_[i + 1] = std::move(lines[i]);
    BuildIndex();
}

const std::string& TextBase::line(int n) const {
    static const std::string empty;
    if (n < 1 || n > kTextBaseLines) return empty;
    return lines_[static_cast<std::size_t>(n)];
}

void TextBase::BuildIndex() {
    for (int k = 0; k < 4; ++k) {
        const auto kind = static_cast<EntryKind>(k);
        KindIndex& ix = index_[static_cast<std::size_t>(k)];
        ix = KindIndex{};
        std::array<int, 8> f{};
        for (int n = 1; n <= kLastHeaderLine; ++n) {
            const std::string& l = lines_[static_cast<std::size_t>(n)];
            if (!IsHeader(l)) continue;
            if (!ConvertFields(l, ConvertedFields(kind), f)) {
                if (ix.firstBadLine == 0) ix.firstBadLine = n;
                continue;
            }
            if (NeedsWeight(kind) && EntryWeight(f[1], f[2]) == 0) continue;
            ix.first.emplace(KeyOf(kind, f), n);  // keeps the first line of a key
        }
    }
}

void TextBase::ThrowBadHeader(int lineNo, int fields) const {
    const std::string& l = line(lineNo);
    int bad = 1;
    while (bad < fields && HeaderField(l, bad)) ++bad;
    const std::size_t start = 2 + 4 * static_cast<std::size_t>(bad - 1);
    const std::string text = start < l.size() ? l.substr(start, 3) : std::string();
    throw Error("База " + Quoted(name_) + ", строка " + std::to_string(lineNo) + ": поле " + std::to_string(bad) +
                " заголовка " + Quoted(Cp1251ToUtf8(text)) + " не является числом.");
}

FoundEntry TextBase::FindLinear(EntryKind kind, const EntryKey& key) const {
    std::array<int, 8> f{};
    for (int n = 1; n <= kLastHeaderLine; ++n) {
        const std::string& l = lines_[static_cast<std::size_t>(n)];
        if (!IsHeader(l)) continue;
        if (!ConvertFields(l, ConvertedFields(kind), f)) ThrowBadHeader(n, ConvertedFields(kind));
        if (KeyOf(kind, f) != key) continue;
        if (!NeedsWeight(kind)) return {n, 0};
        const int w = EntryWeight(f[1], f[2]);
        if (w != 0) return {n, w};
    }
    return {};
}

FoundEntry TextBase::Find(EntryKind kind, const EntryKey& key) const {
    const KindIndex& ix = index_[static_cast<std::size_t>(kind)];
    auto it = ix.first.find(key);
    const int n = it == ix.first.end() ? 0 : it->second;
    if (ix.firstBadLine != 0 && (n == 0 || ix.firstBadLine < n)) ThrowBadHeader(ix.firstBadLine, ConvertedFields(kind));
    if (n == 0) return {};
    if (!NeedsWeight(kind)) return {n, 0};
    const std::string& l = line(n);
    return {n, EntryWeight(*HeaderField(l, 1), *HeaderField(l, 2))};
}

bool TextBase::HasEntry(EntryKind kind, const EntryKey& key) const {
    return index_[static_cast<std::size_t>(kind)].first.count(key) != 0;
}

std::string TextBase::EntryText(int headerLine, int skip) const {
    std::string out;
    for (int n = headerLine + skip;; ++n) {
        if (n > kTextBaseLines)
            throw Error("База " + Quoted(name_) + ": у записи, начатой в строке " + std::to_string(headerLine) +
                        ", нет строки окончания «@» до конца базы (строка " + std::to_string(kTextBaseLines) + ").");
        const std::string& l = lines_[static_cast<std::size_t>(n)];
        if (IsEndLine(l)) return out;
        out += l;
        out += "\r\n";
    }
}

std::optional<std::string> PointWords(int magnitude) {
    const char* word = nullptr;
    if (magnitude == 1) word = "балл";
    else if (magnitude >= 2 && magnitude <= 4) word = "балла";
    else if (magnitude >= 5 && magnitude <= 10) word = "баллов";
    if (!word) return std::nullopt;
    return Utf8ToCp1251(word);
}

std::string PointsHeading(int weight, const std::string& database, int line) {
    const int magnitude = std::abs(weight);
    auto word = PointWords(magnitude);
    if (!word)
        throw Error("База " + Quoted(database) + ", строка " + std::to_string(line) + ": вес " +
                    std::to_string(weight) + " нельзя записать в отчёт (допустимы веса от 1 до 10 по модулю).");
    return std::string(weight > 0 ? "     +" : "     ") + std::to_string(weight) + " " + *word;
}

namespace {

// Opens (creates when missing) both report files, finds the entry and appends it
// to the file of its sign.
int WriteWeightedText(const TextBase& base, const std::string& dataDir, EntryKind kind, const EntryKey& key) {
    const std::string plusFile = JoinPath(dataDir, "Plus.txt");
    const std::string minusFile = JoinPath(dataDir, "Minus.txt");
    AppendToFile(plusFile, "");
    AppendToFile(minusFile, "");
    const FoundEntry e = base.Find(kind, key);
    if (e.line == 0) return 0;
    std::string entry = PointsHeading(e.weight, base.name(), e.line) + "\r\n";
    entry += base.EntryText(e.line, 2);
    entry += "\r\n";
    AppendToFile(e.weight > 0 ? plusFile : minusFile, entry);
    return e.weight;
}

bool WriteManText(const TextBase& base, const std::string& outputFile, EntryKind kind, const EntryKey& key,
                  int skip) {
    AppendToFile(outputFile, "");
    const FoundEntry e = base.Find(kind, key);
    if (e.line == 0) return false;
    AppendToFile(outputFile, base.EntryText(e.line, skip) + "\r\n");
    return true;
}

}  // namespace

int AspectWeight(const TextBase& aspects, int manBody, int angle, int womanBody) {
    return aspects.Find(EntryKind::Aspect, {manBody, angle, womanBody, 0}).weight;
}

int HouseWeight(const TextBase& houses, int manBody, int house) {
    const FoundEntry e = houses.Find(EntryKind::House, {manBody, house, 0, 0});
    if (e.line != 0) PointsHeading(e.weight, houses.name(), e.line);  // throws as the writing lookup does
    return e.weight;
}

int WriteAspectText(const TextBase& aspects, const std::string& dataDir, int manBody, int angle, int womanBody) {
    return WriteWeightedText(aspects, dataDir, EntryKind::Aspect, {manBody, angle, womanBody, 0});
}

int WriteHouseText(const TextBase& houses, const std::string& dataDir, int manBody, int house) {
    return WriteWeightedText(houses, dataDir, EntryKind::House, {manBody, house, 0, 0});
}

bool WriteNatalText(const TextBase& natal, const std::string& outputFile, int firstBody, int aspectClass,
                    int secondBody, int flag) {
    return WriteManText(natal, outputFile, EntryKind::Natal, {firstBody, aspectClass, secondBody, flag}, 1);
}

bool WriteSignText(const TextBase& signs, const std::string& outputFile, int sign, int body, int flag) {
    return WriteManText(signs, outputFile, EntryKind::Sign, {sign, body, flag, 0}, 2);
}

std::string DatabaseTextProblem(EntryKind kind, std::string_view plain, const std::string& name) {
    const std::string lead = "База " + Quoted(name) + " не читается: ";
    if (plain.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return "База " + Quoted(name) + " пуста: в ней нет ни одной записи.";
    int lineNo = 1;
    for (unsigned char c : plain) {
        if (c == '\n') ++lineNo;
        if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F)
            return lead + "в строке " + std::to_string(lineNo) + " байт " + std::to_string(c) +
                   ", которого в тексте не бывает (файл повреждён или это не база).";
    }
    const std::vector<std::string> lines = SplitTextLines(plain);
    const int skip = kind == EntryKind::Natal ? 1 : 2;
    const int last = std::min<int>(static_cast<int>(lines.size()), kLastHeaderLine);
    std::array<int, 8> f{};
    for (int n = 1; n <= last; ++n) {
        const std::string& l = lines[static_cast<std::size_t>(n - 1)];
        if (!IsHeader(l)) continue;
        if (!ConvertFields(l, ConvertedFields(kind), f)) {
            int bad = 1;
            while (bad < ConvertedFields(kind) && HeaderField(l, bad)) ++bad;
            return lead + "строка " + std::to_string(n) + ": поле " + std::to_string(bad) +
                   " заголовка не является числом.";
        }
        // The end line comes after the text lines (for the never-copied line
        // after the header at the earliest), before any further header.
        int end = n + 1;
        while (end <= static_cast<int>(lines.size()) && !IsEndLine(lines[static_cast<std::size_t>(end - 1)]) &&
               !IsHeader(lines[static_cast<std::size_t>(end - 1)]))
            ++end;
        if (end > static_cast<int>(lines.size()) || IsHeader(lines[static_cast<std::size_t>(end - 1)]) ||
            end < n + skip)
            return lead + "у записи, начатой в строке " + std::to_string(n) +
                   ", нет строки окончания «@» (файл обрезан или повреждён).";
    }
    return {};
}

TextBase LoadTextBase(const std::string& dataDir, const char* source, const char* work) {
    const std::string sourceFile = JoinPath(dataDir, source);
    const std::string workFile = JoinPath(dataDir, work);
    const std::string scrambled = ReadWholeFile(sourceFile);
    if (!FileReadable(workFile))
        throw Error("Не найден рабочий файл базы «" + workFile + "»: он должен существовать (пустым).");
    // The work file is rewritten whole, so that nothing of an earlier content can
    // remain behind a shorter database; it holds the plain text only until the
    // lines are read and is emptied again also when they cannot be taken. Every
    // load writes it afresh, so its writes are not synced to the disk.
    WriteFileAtomic(workFile, ScrambleBytes(scrambled), Durability::Regenerated);
    std::string plain;
    try {
        plain = ReadWholeFile(workFile);
    } catch (...) {
        WriteFileAtomic(workFile, "", Durability::Regenerated);
        throw;
    }
    WriteFileAtomic(workFile, "", Durability::Regenerated);
    EntryKind kind = EntryKind::Aspect;
    for (const DatabaseFile& db : kDatabaseFiles)
        if (std::string_view(db.source) == source) kind = db.kind;
    TextBase base(sourceFile, SplitTextLines(plain));
    if (const std::string problem = DatabaseTextProblem(kind, plain, sourceFile); !problem.empty())
        throw Error(problem);
    return base;
}

namespace {

// Copies the fifth database and its work file from the shipped data into a data
// directory that lacks it. An empty text when done, else why not (UTF-8).
std::string TakeShippedReverse(const std::string& dataDir, const std::string& shippedDataDir) {
    const DatabaseFile& db = kDatabaseFiles[kReverseDatabase];
    const std::string from = shippedDataDir.empty() ? std::string() : JoinPath(shippedDataDir, db.source);
    if (from.empty() || !FileReadable(from)) return "поставляемая база программы не найдена";
    try {
        WriteFileAtomic(JoinPath(dataDir, db.source), ReadWholeFile(from));
        const std::string work = JoinPath(dataDir, db.work);
        if (!FileReadable(work)) WriteFileAtomic(work, "");
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

}  // namespace

void LoadTextDatabases(const std::string& dataDir, TextDatabases& databases, const std::string& shippedDataDir) {
    databases = TextDatabases{};
    TextBase* targets[] = {&databases.AspectTexts, &databases.HouseTexts, &databases.NatalAspectTexts,
                           &databases.SignTexts, &databases.ReverseHouseTexts};
    static_assert(std::size(targets) == kDatabaseFiles.size());
    for (std::size_t i = 0; i < kDatabaseFiles.size(); ++i) {
        const DatabaseFile& db = kDatabaseFiles[i];
        if (i == kReverseDatabase && !FileReadable(JoinPath(dataDir, db.source))) {
            const std::string why = TakeShippedReverse(dataDir, shippedDataDir);
            if (!why.empty()) {
                databases.ReverseMissing = std::string("В каталоге данных нет базы текстов «") + db.source +
                                           "» (её планеты в его домах), и взять её из данных программы не удалось (" +
                                           why + "). Её планеты в домах мужчины не оцениваются.";
                continue;
            }
        }
        *targets[i] = LoadTextBase(dataDir, db.source, db.work);
    }
}

namespace {

std::vector<EntryKey> FullKeySet(const DatabaseFile& database) {
    static constexpr int kManBodies[] = {1, 3, 4, 5, 6, 7, 8, 9, 10};  // the score never asks for his Moon
    static constexpr int kHerBodies[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    std::vector<EntryKey> keys;
    if (&database == &kDatabaseFiles[kReverseDatabase]) {  // her ten bodies in his houses
        for (int w : kHerBodies)
            for (int h = 1; h <= 12; ++h) keys.push_back({w, h, 0, 0});
        return keys;
    }
    switch (database.kind) {
        case EntryKind::Aspect:
            for (int m : kManBodies)
                for (int a : {0, 60, 90, 120, 180})
                    for (int w = 1; w <= 10; ++w) keys.push_back({m, a, w, 0});
            break;
        case EntryKind::House:
            for (int m : kManBodies)
                for (int h = 1; h <= 12; ++h) keys.push_back({m, h, 0, 0});
            break;
        case EntryKind::Natal: {
            // The man's report looks at the pairs of his Sun, Mercury, Venus,
            // Mars, Jupiter and Saturn; the flag (the side) is the database's own.
            static constexpr int kBodies[] = {1, 3, 4, 5, 6, 7};
            for (int i = 0; i < 6; ++i)
                for (int j = i + 1; j < 6; ++j)
                    for (int c : {0, 120, 180}) keys.push_back({kBodies[i], c, kBodies[j], -1});
            break;
        }
        case EntryKind::Sign:
            for (int sign = 1; sign <= 12; ++sign) {
                keys.push_back({sign, 1, 0, 0});
                for (int body : {4, 5})
                    for (int flag : {0, 50}) keys.push_back({sign, body, flag, 0});
            }
            break;
    }
    return keys;
}

}  // namespace

KeyCoverage MissingKeys(const TextBase& base, const DatabaseFile& database) {
    const EntryKind kind = database.kind;
    KeyCoverage c;
    for (EntryKey key : FullKeySet(database)) {
        ++c.total;
        bool found = false;
        if (key[3] == -1) {
            for (int flag : {0, 50}) {
                key[3] = flag;
                found = found || base.HasEntry(kind, key);
            }
        } else {
            found = base.HasEntry(kind, key);
        }
        if (!found) ++c.missing;
    }
    return c;
}

std::vector<std::string> DatabaseWarnings(const TextDatabases& databases) {
    std::vector<std::string> out;
    const TextBase* bases[] = {&databases.AspectTexts, &databases.HouseTexts, &databases.NatalAspectTexts,
                               &databases.SignTexts, &databases.ReverseHouseTexts};
    static_assert(std::size(bases) == kDatabaseFiles.size());
    for (std::size_t i = 0; i < kDatabaseFiles.size(); ++i) {
        const TextBase& b = *bases[i];
        if (b.name().empty()) continue;  // not loaded
        const KeyCoverage c = MissingKeys(b, kDatabaseFiles[i]);
        if (c.missing == 0) continue;
        out.push_back("База " + Quoted(b.name()) + " неполна: в ней нет " + std::to_string(c.missing) + " из " +
                      std::to_string(c.total) +
                      " записей, которые ищет программа; для этих сочетаний в отчётах не будет ни текста, ни баллов.");
    }
    return out;
}

}  // namespace pelorin
