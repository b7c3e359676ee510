#pragma once
// The configuration file "main.dat": line 1 the system directory (help files),
// line 2 the data directory (every data and report file). Both texts are used as
// written, each with its trailing separator; file names are appended unchanged.
#include <string>

namespace pelorin {

struct Config {
    std::string SystemDir;
    std::string DataDir;
    std::string path;  // the file it was read from
};

// Reads "main.dat". Throws Error naming the file when it is missing, has fewer
// than two lines or an empty (or blank) data line. Line ends CR LF or LF;
// nothing else is changed.
Config ReadConfig(const std::string& mainDatPath);

// Where "main.dat" is looked for: the given option when not empty, else
// $PELORIN_CONFIG, else $XDG_CONFIG_HOME/pelorin/main.dat (default
// ~/.config/pelorin/main.dat). On Windows the program's fixed path.
std::string ResolveConfigPath(const std::string& option);

}  // namespace pelorin
