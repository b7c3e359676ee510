#pragma once
// The first start of a new user: a per-user data directory made from the data
// directory the program ships with (sample people included) and a "main.dat"
// that names it, with the system directory pointing at the shipped help. Both
// the installed program and the one in its build tree use it.
#include <optional>
#include <string>

namespace pelorin {

// Where the program's shipped files are, found from the directory of its
// executable: "<exe>/../share/pelorin/{data,system}/" when installed, else
// "<exe>/../{data,system}/" in the build tree (build/app/pelorin, build/data),
// else "<exe>/{data,system}/" as the Windows installer lays them out.
// Empty when neither holds the shipped person files.
struct ShippedDirs {
    std::string dataDir;    // with its trailing separator
    std::string systemDir;  // with its trailing separator; may not exist (no help built)
};
std::optional<ShippedDirs> FindShippedDirs(const std::string& executableDir);

// $XDG_DATA_HOME/pelorin/data/ (default ~/.local/share/pelorin/data/); on
// Windows %LOCALAPPDATA%\Pelorin\data\.
std::string DefaultUserDataDir();

struct FirstStartResult {
    bool created = false;   // false: "main.dat" was there already, nothing done
    std::string dataDir;
    int samplesAdded = 0;
};

// When `configPath` does not exist: copies every shipped file that the user data
// directory lacks (a file already there is never overwritten), adds the sample
// people when the directory held no person files before, and writes "main.dat"
// (system directory, data directory, CR LF) through the atomic rewrite. Throws
// Error with a Russian message naming what could not be made.
FirstStartResult EnsureFirstStart(const std::string& configPath, const ShippedDirs& shipped,
                                  const std::string& userDataDir);

}  // namespace pelorin
