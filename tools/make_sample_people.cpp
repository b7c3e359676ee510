// Adds the sample people ("Пример: ...") to the person files of a data directory,
// or does a new user's first start as the desktop program does it (for the
// machine without the desktop program: scripts/start.sh).
//   pelorin-sample-people DIR
//   pelorin-sample-people --first-start CONFIG
// People already there are kept; a sample person already present is not added twice.
#include <cstdio>
#include <filesystem>
#include <string>

#include "people/first_start.h"
#include "base/errors.h"
#include "people/sample_people.h"

int main(int argc, char** argv) {
    using namespace pelorin;
    try {
        if (argc == 3 && std::string(argv[1]) == "--first-start") {
            const std::string exeDir = std::filesystem::absolute(argv[0]).parent_path().string();
            const auto shipped = FindShippedDirs(exeDir);
            if (!shipped) throw Error("the shipped data directory was not found beside " + exeDir);
            const FirstStartResult r = EnsureFirstStart(argv[2], *shipped, DefaultUserDataDir());
            if (r.created) std::printf("Created %s (data in %s)\n", argv[2], r.dataDir.c_str());
            return 0;
        }
        if (argc != 2) {
            std::fprintf(stderr, "usage: pelorin-sample-people DIR | --first-start CONFIG\n");
            return 2;
        }
        const SamplesAdded added = AddSamplePeople(std::string(argv[1]) + "/");
        std::printf("sample people added: %d women, %d men\n", added.women, added.men);
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
