#include "people/first_start.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/errors.h"
#include "base/file_io.h"
#include "base/native_path.h"
#include "people/config.h"
#include "people/sample_people.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

std::string WithSeparator(const fs::path& p) {
    std::string s = PathText(p.lexically_normal());
    if (s.empty() || (s.back() != '/' && s.back() != kPathSeparator)) s += kPathSeparator;
    return s;
}

bool HoldsPersonFiles(const fs::path& dir) {
    std::error_code ec;
    return fs::is_regular_file(dir / "FEMIN.DAT", ec) && fs::is_regular_file(dir / "MEN.DAT", ec);
}

}  // namespace

std::optional<ShippedDirs> FindShippedDirs(const std::string& executableDir) {
    const fs::path exe = NativePath(executableDir);
    // Installed on Linux, the build tree, installed on Windows (data\ beside the program).
    for (const fs::path& top : {exe / ".." / "share" / "pelorin", exe / "..", exe}) {
        if (HoldsPersonFiles(top / "data")) return ShippedDirs{WithSeparator(top / "data"), WithSeparator(top / "system")};
    }
    return std::nullopt;
}

std::string DefaultUserDataDir() {
#ifdef _WIN32
    const std::string local = EnvironmentText("LOCALAPPDATA");
    return WithSeparator(NativePath(local.empty() ? "." : local) / "Pelorin" / "data");
#else
    if (const std::string xdg = EnvironmentText("XDG_DATA_HOME"); !xdg.empty())
        return WithSeparator(NativePath(xdg) / "pelorin" / "data");
    const std::string home = EnvironmentText("HOME");
    return WithSeparator(NativePath(home.empty() ? "." : home) / ".local" / "share" / "pelorin" / "data");
#endif
}

FirstStartResult EnsureFirstStart(const std::string& configPath, const ShippedDirs& shipped,
                                  const std::string& userDataDir) {
    FirstStartResult result;
    std::error_code ec;
    if (fs::exists(NativePath(configPath), ec)) return result;

    const fs::path data = NativePath(userDataDir);
    fs::create_directories(data, ec);
    if (ec) throw Error("Не удалось создать каталог данных " + PathText(data) + ": " + ec.message());
    const bool hadPeople = HoldsPersonFiles(data);

    std::error_code listing;
    const fs::directory_iterator files(NativePath(shipped.dataDir), listing);
    if (listing) throw Error("Не удалось прочитать каталог " + shipped.dataDir + ": " + listing.message());
    for (const fs::directory_entry& e : files) {
        if (!e.is_regular_file()) continue;
        const fs::path target = data / e.path().filename();
        if (fs::exists(target, ec)) continue;  // the user's own file stays as it is
        fs::copy_file(e.path(), target, ec);
        if (ec)
            throw Error("Не удалось скопировать " + PathText(e.path()) + " в " + PathText(target) + ": " +
                        ec.message());
        // Shipped files may be read-only (installed by the package); the user's copies are the user's.
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    }

    result.dataDir = WithSeparator(data);
    if (!hadPeople) {
        const SamplesAdded added = AddSamplePeople(result.dataDir);
        result.samplesAdded = added.women + added.men;
    }

    const fs::path config = NativePath(configPath);
    if (config.has_parent_path()) {
        fs::create_directories(config.parent_path(), ec);
        if (ec) throw Error("Не удалось создать каталог " + PathText(config.parent_path()) + ": " + ec.message());
    }
    WriteFileAtomic(configPath, ConfigFileText(shipped.systemDir, result.dataDir));
    result.created = true;
    return result;
}

}  // namespace pelorin
