#include "people/first_start.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/errors.h"
#include "base/file_io.h"
#include "people/sample_people.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

std::string WithSeparator(const fs::path& p) {
    std::string s = p.lexically_normal().string();
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

bool HoldsPersonFiles(const fs::path& dir) {
    std::error_code ec;
    return fs::is_regular_file(dir / "FEMIN.DAT", ec) && fs::is_regular_file(dir / "MEN.DAT", ec);
}

}  // namespace

std::optional<ShippedDirs> FindShippedDirs(const std::string& executableDir) {
    const fs::path exe(executableDir);
    for (const fs::path& top : {exe / ".." / "share" / "pelorin", exe / ".."}) {
        if (HoldsPersonFiles(top / "data")) return ShippedDirs{WithSeparator(top / "data"), WithSeparator(top / "system")};
    }
    return std::nullopt;
}

std::string DefaultUserDataDir() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return WithSeparator(fs::path(xdg) / "pelorin" / "data");
    const char* home = std::getenv("HOME");
    return WithSeparator(fs::path(home ? home : ".") / ".local" / "share" / "pelorin" / "data");
}

FirstStartResult EnsureFirstStart(const std::string& configPath, const ShippedDirs& shipped,
                                  const std::string& userDataDir) {
    FirstStartResult result;
    std::error_code ec;
    if (fs::exists(configPath, ec)) return result;

    const fs::path data(userDataDir);
    fs::create_directories(data, ec);
    if (ec) throw Error("Не удалось создать каталог данных " + data.string() + ": " + ec.message());
    const bool hadPeople = HoldsPersonFiles(data);

    std::error_code listing;
    const fs::directory_iterator files(shipped.dataDir, listing);
    if (listing) throw Error("Не удалось прочитать каталог " + shipped.dataDir + ": " + listing.message());
    for (const fs::directory_entry& e : files) {
        if (!e.is_regular_file()) continue;
        const fs::path target = data / e.path().filename();
        if (fs::exists(target, ec)) continue;  // the user's own file stays as it is
        fs::copy_file(e.path(), target, ec);
        if (ec) throw Error("Не удалось скопировать " + e.path().string() + " в " + target.string() + ": " + ec.message());
        // Shipped files may be read-only (installed by the package); the user's copies are the user's.
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    }

    result.dataDir = WithSeparator(data);
    if (!hadPeople) {
        const SamplesAdded added = AddSamplePeople(result.dataDir);
        result.samplesAdded = added.women + added.men;
    }

    const fs::path config(configPath);
    if (config.has_parent_path()) {
        fs::create_directories(config.parent_path(), ec);
        if (ec) throw Error("Не удалось создать каталог " + config.parent_path().string() + ": " + ec.message());
    }
    WriteFileAtomic(configPath, shipped.systemDir + "\r\n" + result.dataDir + "\r\n");
    result.created = true;
    return result;
}

}  // namespace pelorin
