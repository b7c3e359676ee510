#pragma once
// The small test databases of tests/data/report/, packed as the program loads them.
#include <string>

#include "analysis/text_base.h"
#include "analysis/text_pack.h"
#include "support/test_support.h"

namespace pelorin::test {

inline const std::string kReportData = std::string(PELORIN_SOURCE_DIR) + "/tests/data/report/";

inline TextBase PackedReportBase(EntryKind kind, const std::string& file) {
    const std::string path = kReportData + file;
    return TextBase(file, SplitTextLines(PackTextSource(kind, ReadFile(path), path).plain));
}

}  // namespace pelorin::test
