#include "people/config.h"

#include <cstdlib>

#include "base/cp1251.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "base/native_path.h"

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
#ifdef _WIN32
    // The file is Windows-1251 text; the program's paths are UTF-8 on Windows.
    // A file that starts with the UTF-8 byte-order mark holds UTF-8 (written for
    // a directory whose name Windows-1251 cannot spell).
    static constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (lines[0].starts_with(kBom)) {
        lines[0].erase(0, kBom.size());
    } else {
        lines[0] = Cp1251ToUtf8(lines[0]);
        lines[1] = Cp1251ToUtf8(lines[1]);
    }
#endif
    return Config{lines[0], lines[1], mainDatPath};
}

std::string ConfigFileText(const std::string& systemDir, const std::string& dataDir) {
    const std::string text = systemDir + "\r\n" + dataDir + "\r\n";
#ifdef _WIN32
    std::size_t bad = std::string::npos;
    const std::string cp1251 = Utf8ToCp1251(text, &bad);
    if (bad == std::string::npos) return cp1251;
    return "\xEF\xBB\xBF" + text;
#else
    return text;
#endif
}

std::string ResolveConfigPath(const std::string& option) {
    if (!option.empty()) return option;
#ifdef _WIN32
    if (std::string env = EnvironmentText("PELORIN_CONFIG"); !env.empty()) return env;
    // Lists kept in the layout of the program's first versions are used where they are.
    if (FileReadable(kFixedConfigPath)) return kFixedConfigPath;
    std::string appData = EnvironmentText("APPDATA");
    if (appData.empty()) return kFixedConfigPath;
    if (appData.back() != '\\' && appData.back() != '/') appData += '\\';
    return appData + "Pelorin\\main.dat";
#else
    if (const char* env = std::getenv("PELORIN_CONFIG"); env && *env) return env;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::string(xdg) + "/pelorin/main.dat";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config/pelorin/main.dat";
#endif
}

}  // namespace pelorin
