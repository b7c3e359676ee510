#include "people/person_record.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"
#include "base/file_io.h"

namespace pelorin {

namespace {

template <int N>
void FillBlanks(ShortText<N>& t) {
    t.Len = static_cast<std::uint8_t>(N);
    std::memset(t.Data, ' ', N);
}

std::string TwoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

}  // namespace

bool IsFreeSlot(const PersonRecord& r) { return r.Stamp == kFreeStamp; }

void LoadPersonFile(const std::string& fileName, PersonTable& table) {
    std::string bytes;
    try {
        bytes = ReadWholeFile(fileName);
    } catch (const Error&) {
        throw Error("Не удаётся прочитать файл людей «" + fileName + "»: файл отсутствует или недоступен");
    }
    // A longer file is as damaged as a shorter one: its records past the 100th
    // would be cut off silently by the next rewrite.
    if (bytes.size() != kPersonFileSize)
        throw Error("Файл людей «" + fileName + "» повреждён: в нём " + std::to_string(bytes.size()) +
                    " байт вместо " + std::to_string(kPersonFileSize) + " (100 записей по 501 байту)");
    std::memcpy(table.slots.data(), bytes.data(), kPersonFileSize);
}

void SavePersonFile(const std::string& fileName, const PersonTable& table) {
    // Every caller holds the data directory's lock: what a rewrite killed before
    // its rename left behind can go.
    RemoveLeftoverTemporaries(fileName);
    WriteFileAtomic(fileName, std::string_view(reinterpret_cast<const char*>(table.slots.data()),
                                               kPersonFileSize));
}

void ClearSlot(PersonTable& table, int slot) {
    if (slot < 1 || slot > kTableSlots)
        throw Error("Неверный номер ячейки таблицы людей: " + std::to_string(slot));
    PersonRecord& r = table.slot(slot);
    FillBlanks(r.Name);
    r.Day = r.Month = r.Year = r.Hour = r.Minute = 0;
    r.TimeKnown = 0;
    FillBlanks(r.Stamp);
    r.FileTag.Len = 3;
    std::memcpy(r.FileTag.Data, table.kind == TableKind::Women ? "FEM" : "MEN", 3);
    FillBlanks(r.DateText);
    r.TimeText.Len = 5;
    std::memcpy(r.TimeText.Data, " --- ", 5);
    FillBlanks(r.ListLine);
    FillBlanks(r.Sex);
    FillBlanks(r.ShiftFlag);
    FillBlanks(r.Place);
    // Only the length byte and the first character of the comment are written.
    r.Comment.Len = 1;
    r.Comment.Data[0] = ' ';
    FillBlanks(r.CoordText);
    FillBlanks(r.ZoneText);
    r.Zone = 0.0;
    r.Moment = 0.0;
    r.Spare1 = 0;
    r.Spare2 = 0;
    std::memset(r.Spare3, 0, sizeof r.Spare3);
}

void CompactTable(PersonTable& table) {
    // 98 passes, each moving every person up one slot over a free slot above it.
    // Each pass looks at the whole table, so that any number of gaps closes (a
    // pass that started below its own number would leave an upper gap open).
    for (int pass = 1; pass <= kUsableSlots - 1; ++pass) {
        for (int j = 2; j <= kUsableSlots; ++j) {
            if (IsFreeSlot(table.slot(j - 1))) {
                table.slot(j - 1) = table.slot(j);
                ClearSlot(table, j);
            }
        }
    }
}

int FindSlotByStamp(const PersonTable& table, std::string_view stamp, StampMatch which) {
    int found = 0;
    for (int i = 1; i <= kUsableSlots; ++i) {
        if (table.slot(i).Stamp == stamp) {
            found = i;
            if (which == StampMatch::First) break;
        }
    }
    return found;
}

std::string MakeStamp(const std::tm& local) {
    return TwoDigits(local.tm_mon + 1) + TwoDigits(local.tm_mday) + TwoDigits(local.tm_hour) +
           TwoDigits(local.tm_min) + TwoDigits(local.tm_sec);
}

namespace {
std::tm LocalTime(std::time_t t) {
    std::tm out{};
#ifdef _WIN32
    localtime_s(&out, &t);
#else
    localtime_r(&t, &out);
#endif
    return out;
}
}  // namespace

std::string MakeStamp() { return MakeStamp(LocalTime(std::time(nullptr))); }

std::string MakeUniqueStamp(const PersonTable& table, std::time_t now) {
    // At most 99 stamps are taken, so at most 99 steps are ever needed.
    for (std::time_t t = now;; ++t) {
        std::string stamp = MakeStamp(LocalTime(t));
        bool taken = false;
        for (int i = 1; i <= kUsableSlots && !taken; ++i)
            taken = !IsFreeSlot(table.slot(i)) && table.slot(i).Stamp == stamp;
        if (!taken) return stamp;
    }
}

void BuildListLine(PersonRecord& record) {
    std::string line = CutTo(record.Name.str() + " ", 21);
    line = CutTo(line + record.DateText.str(), 31);
    line = CutTo(line + "  ", 33);
    line = CutTo(line + record.TimeText.str(), 38);
    line = CutTo(line + "  ", 40);
    line = CutTo(line + record.Place.str(), 70);
    line = CutTo(line + "     ", 75);
    line = CutTo(line + record.Stamp.str(), 85);
    record.ListLine.set(line);
}

int FirstFreeSlot(const PersonTable& table) {
    for (int i = 1; i <= kUsableSlots; ++i)
        if (IsFreeSlot(table.slot(i))) return i;
    return 0;
}

const char* PersonFileName(TableKind kind) { return kind == TableKind::Women ? "FEMIN.DAT" : "MEN.DAT"; }

std::vector<int> UsedSlots(const PersonTable& table) {
    std::vector<int> used;
    for (int i = 1; i <= kUsableSlots; ++i)
        if (!IsFreeSlot(table.slot(i))) used.push_back(i);
    return used;
}

namespace {

// Collation weight of a Windows-1251 byte: blanks, then punctuation, digits,
// Latin letters and Cyrillic letters in the order of the alphabet (Ё after Е),
// letters without regard to case.
int CollationWeight(unsigned char c) {
    if (c == ' ') return 1;
    if (c >= '0' && c <= '9') return 200 + (c - '0');
    if (c >= 'A' && c <= 'Z') return 300 + (c - 'A');
    if (c >= 'a' && c <= 'z') return 300 + (c - 'a');
    if (c < 0x80) return 10 + c;
    // Cyrillic: А..Я 0xC0..0xDF, а..я 0xE0..0xFF, Ё 0xA8, ё 0xB8.
    auto cyr = [](int index) { return index <= 5 ? 400 + 2 * index : 400 + 2 * index + 2; };
    if (c >= 0xC0 && c <= 0xDF) return cyr(c - 0xC0);
    if (c >= 0xE0) return cyr(c - 0xE0);
    if (c == 0xA8 || c == 0xB8) return 400 + 2 * 5 + 1;  // right after Е
    return 500 + c;
}

}  // namespace

int CompareListText(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int wa = CollationWeight(static_cast<unsigned char>(a[i]));
        int wb = CollationWeight(static_cast<unsigned char>(b[i]));
        if (wa != wb) return wa < wb ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

std::vector<std::string> SortedListLines(const PersonTable& table) {
    std::vector<std::string> lines;
    for (int slot : UsedSlots(table)) lines.push_back(table.slot(slot).ListLine.str());
    std::stable_sort(lines.begin(), lines.end(),
                     [](const std::string& x, const std::string& y) { return CompareListText(x, y) < 0; });
    return lines;
}

}  // namespace pelorin
