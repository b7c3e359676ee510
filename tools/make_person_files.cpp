// Writes fresh person files: 100 cleared slots each, FEMIN.DAT and MEN.DAT.
//   pelorin-make-person-files DIR
#include <cstdio>

#include "base/errors.h"
#include "base/file_io.h"
#include "people/person_record.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pelorin-make-person-files DIR\n");
        return 2;
    }
    try {
        for (auto kind : {pelorin::TableKind::Women, pelorin::TableKind::Men}) {
            pelorin::PersonTable table{kind, {}};
            for (int slot = 1; slot <= pelorin::kTableSlots; ++slot) pelorin::ClearSlot(table, slot);
            const char* name = kind == pelorin::TableKind::Women ? "FEMIN.DAT" : "MEN.DAT";
            pelorin::SavePersonFile(pelorin::JoinPath(std::string(argv[1]) + "/", name), table);
            std::printf("%s: %d cleared slots\n", name, pelorin::kTableSlots);
        }
    } catch (const pelorin::Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
