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
// nothing else is changed, except that on Windows the Windows-1251 text becomes
// the UTF-8 of the program's paths.
Config ReadConfig(const std::string& mainDatPath);

// Where "main.dat" is looked for: the given option when not empty, else
// $PELORIN_CONFIG, else $XDG_CONFIG_HOME/pelorin/main.dat (default
// ~/.config/pelorin/main.dat). On Windows, after the option and
// $PELORIN_CONFIG: the fixed path below where that file exists, else
// %APPDATA%\Pelorin\main.dat.
std::string ResolveConfigPath(const std::string& option);

// The fixed place of "main.dat" on Windows in the program's first versions.
inline constexpr const char* kFixedConfigPath = "C:\\Korvantis_Pelorin\\System\\main.dat";

// The content of a "main.dat" naming the two directories (each with its trailing
// separator), lines ended by CR LF. On Windows the file is Windows-1251 as the
// program's first versions read it; a directory whose name has no Windows-1251
// spelling is written in UTF-8 behind a byte-order mark instead.
std::string ConfigFileText(const std::string& systemDir, const std::string& dataDir);

}  // namespace pelorin
