#pragma once
// Whole-file reading and writing. Every rewrite goes through a temporary file in
// the same directory and an atomic rename: a failure leaves the old file untouched.
#include <string>
#include <string_view>

namespace pelorin {

// The whole file; throws Error naming the file when it cannot be read.
std::string ReadWholeFile(const std::string& fileName);

// True when the file exists (and can be opened for reading).
bool FileReadable(const std::string& fileName);

// What a rewrite promises after a power loss or a crash of the system.
enum class Durability {
    // The new content is on the disk before it replaces the old (fsync before the
    // rename): for everything a person keeps, the people files, main.dat, the atlas.
    Synced,
    // The rename alone: after a power loss the file may be empty or hold the old
    // content. Only for the files a program run writes afresh before it reads them
    // (the work files of the databases, the texts and reports of a pair analysis):
    // the next run rewrites them anyway, and an fsync costs a disk flush each.
    Regenerated,
};

// Replaces the file with `content`. Throws Error naming the file on failure (also
// when the file exists and is read-only); the old content then stays as it was.
// A file that is a symbolic link is rewritten through the link: the temporary
// file lies beside the link's target and replaces the target, and the link stays.
void WriteFileAtomic(const std::string& fileName, std::string_view content,
                     Durability durability = Durability::Synced);

// Whether `candidate` (a bare file name) is a temporary file that a rewrite of
// the file named `base` makes: `base` + "." + six letters or digits (mkstemp's
// pattern), or `base` + ".tmp".
bool IsRewriteTemporary(std::string_view base, std::string_view candidate);

// Removes the temporary files that rewrites of `fileName` killed before their
// rename left beside it (beside the link's target for a link). Only for a caller
// that holds the data directory's lock, under which no other rewrite of the file
// runs. Failures are ignored: a leftover costs only disk space.
void RemoveLeftoverTemporaries(const std::string& fileName);

// Appends to an existing file or creates it. Throws Error naming the file.
void AppendToFile(const std::string& fileName, std::string_view content);

// Joins a directory text and a file name as the configuration writes them: the
// directory carries its trailing separator and the name is appended unchanged. On
// systems whose separator is '/', every '\' becomes '/' and doubled separators
// collapse, so "\sng.wdt" appended to a data directory still names the file. On
// Windows both separators stay as written and a doubled one collapses too (but
// for the two that begin a network path).
std::string JoinPath(std::string_view dir, std::string_view name);

// Text of the last system error (errno), for messages.
std::string SystemErrorText();

}  // namespace pelorin
