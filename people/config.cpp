#include "people/config.h"

#include <cstdlib>

#include "base/errors.h"
#include "base/file_io.h"

namespace pelorin {

Config ReadConfig(const std::string& mainDatPath) {
    std::string text;
    try {
        text = ReadWholeFile(mainDatPath);
    } catch (const Error&) {
        throw Error("Не найден файл настройки «" + mainDatPath + "»");
    }
    std::string lines[2];
    int n = 0;
    std::size_t pos = 0;
    while (n < 2 && pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines[n++] = line;
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    if (n < 2)
        throw Error("В файле настройки «" + mainDatPath +
                    "» должно быть две строки: системный каталог и каталог данных");
    // An empty data line would name the current directory: every data file and
    // the lock file would be looked for (and made) wherever the program runs.
    if (lines[1].find_first_not_of(" \t") == std::string::npos)
        throw Error("В файле настройки «" + mainDatPath +
                    "» пуста строка 2, каталог данных: в ней должен быть каталог с файлами людей и баз");
    return Config{lines[0], lines[1], mainDatPath};
}

std::string ResolveConfigPath(const std::string& option) {
    if (!option.empty()) return option;
#ifdef _WIN32
    return "C:\\Korvantis_Pelorin\\System\\main.dat";
#else
    if (const char* env = std::getenv("PELORIN_CONFIG"); env && *env) return env;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::string(xdg) + "/pelorin/main.dat";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config/pelorin/main.dat";
#endif
}

}  // namespace pelorin
