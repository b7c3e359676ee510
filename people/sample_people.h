#pragma once
// A few clearly marked sample people ("Пример: ..."), so that a new user can try
// an analysis at once: three women with their birth times and places, five men.
#include <string>

namespace pelorin {

struct SamplesAdded {
    int women = 0;
    int men = 0;
};

// Adds the samples to FEMIN.DAT and MEN.DAT of the data directory `dir` (with its
// trailing separator). People already there are kept; a sample person already
// present (same name and date) is not added twice. Throws Error naming a file
// that cannot be read or written.
SamplesAdded AddSamplePeople(const std::string& dir);

}  // namespace pelorin
