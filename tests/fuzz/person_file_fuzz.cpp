// libFuzzer entry for the person files (FEMIN.DAT, MEN.DAT): arbitrary bytes of
// any length are written to a file, read with LoadPersonFile, and every accessor
// of the table is exercised on what was read. Not part of the test suite; built
// and run by tests/fuzz/run.sh (seed: data/FEMIN.DAT, data/MEN.DAT).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "astro/houses.h"
#include "base/errors.h"
#include "people/person_record.h"
#include "tests/fuzz/fuzz_support.h"
#include "people/person_chart.h"

using namespace pelorin;
using namespace pelorin::fuzz;

namespace {

// Stamps of the used slots in slot order.
std::vector<std::string> UsedStamps(const PersonTable& t) {
    std::vector<std::string> out;
    for (int s : UsedSlots(t)) out.push_back(t.slot(s).Stamp.str());
    return out;
}

void CheckTable(const PersonTable& table, std::string_view bytes) {
    Check(std::memcmp(table.slots.data(), bytes.data(), kPersonFileSize) == 0, "table holds the file's first bytes");

    // Every text of every slot, as the lists and dialogs read them.
    std::size_t total = 0;
    for (int i = 1; i <= kTableSlots; ++i) {
        const PersonRecord& r = table.slot(i);
        total += r.Name.str().size() + r.Stamp.str().size() + r.FileTag.str().size() + r.DateText.str().size() +
                 r.TimeText.str().size() + r.ListLine.str().size() + r.Sex.str().size() +
                 r.ShiftFlag.str().size() + r.Place.str().size() + r.Comment.str().size() +
                 r.CoordText.str().size() + r.ZoneText.str().size();
        Check(r.Comment.str().size() <= 255 && r.ListLine.view().size() <= 81, "texts stay within their fields");
        PersonRecord copy = r;
        BuildListLine(copy);
        Check(copy.ListLine.length() <= 81, "built list line fits");
        TCusps cusps{};
        try {
            ComputeHouses(r, cusps);
        } catch (const Error&) {
        }
    }
    (void)total;

    const std::vector<int> used = UsedSlots(table);
    const std::vector<std::string> sorted = SortedListLines(table);
    Check(sorted.size() == used.size(), "one list line per used slot");
    for (std::size_t i = 1; i < sorted.size(); ++i)
        Check(CompareListText(sorted[i - 1], sorted[i]) <= 0, "list lines sorted");
    for (std::size_t i = 0; i + 1 < sorted.size() && i < 8; ++i) {
        const int ab = CompareListText(sorted[i], sorted[i + 1]);
        const int ba = CompareListText(sorted[i + 1], sorted[i]);
        Check((ab > 0) - (ab < 0) == -((ba > 0) - (ba < 0)), "comparison antisymmetric");
        Check((ab == 0) == (sorted[i] == sorted[i + 1]), "comparison equal only for equal texts");
    }

    const int firstFree = FirstFreeSlot(table);
    Check(firstFree == 0 ? used.size() == kUsableSlots : IsFreeSlot(table.slot(firstFree)), "first free slot");
    for (int s : used) {
        const std::string stamp = table.slot(s).Stamp.str();
        const int first = FindSlotByStamp(table, stamp, StampMatch::First);
        const int last = FindSlotByStamp(table, stamp, StampMatch::Last);
        Check(first >= 1 && first <= s && last >= s, "slot found by its stamp");
    }
    const std::string unique = MakeUniqueStamp(table, 1700000000);
    Check(unique.size() == 10, "stamp of ten characters");
    for (int s : used) Check(!(table.slot(s).Stamp == unique), "new stamp names nobody");

    // Saving writes back exactly the bytes read.
    const std::string saved = ScratchFile("person-saved");
    SavePersonFile(saved, table);
    Check(ReadBytes(saved) == std::string_view(bytes.data(), kPersonFileSize), "save writes back what was read");

    // Compacting keeps the people and their order and closes every gap.
    PersonTable compact = table;
    CompactTable(compact);
    Check(UsedStamps(compact) == UsedStamps(table), "compacting keeps the people in order");
    const std::vector<int> after = UsedSlots(compact);
    for (std::size_t i = 0; i < after.size(); ++i) Check(after[i] == static_cast<int>(i) + 1, "no gap after compacting");
    for (std::size_t i = 0; i < used.size(); ++i)
        Check(std::memcmp(&compact.slot(after[i]), &table.slot(used[i]), sizeof(PersonRecord)) == 0,
              "a moved person keeps every byte");
    Check(std::memcmp(&compact.slot(kTableSlots), &table.slot(kTableSlots), sizeof(PersonRecord)) == 0,
          "slot 100 carried along");
    SavePersonFile(saved, compact);
    PersonTable reread{table.kind, {}};
    LoadPersonFile(saved, reread);
    Check(std::memcmp(reread.slots.data(), compact.slots.data(), kPersonFileSize) == 0, "compacted table reads back");
    std::remove(saved.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string file = ScratchFile("person");
    WriteBytes(file, bytes);
    for (TableKind kind : {TableKind::Women, TableKind::Men}) {
        PersonTable table{kind, {}};
        for (int i = 1; i <= kTableSlots; ++i) ClearSlot(table, i);
        const PersonTable before = table;
        try {
            LoadPersonFile(file, table);
        } catch (const Error& e) {
            Check(size != kPersonFileSize, "a file of exactly 100 records is read");
            Check(std::strlen(e.what()) > 0, "error has a message");
            Check(std::memcmp(before.slots.data(), table.slots.data(), kPersonFileSize) == 0,
                  "a failed read leaves the table unchanged");
            continue;
        }
        Check(size == kPersonFileSize, "a shorter or longer file is refused");
        CheckTable(table, bytes);
    }
    std::remove(file.c_str());
    return 0;
}
