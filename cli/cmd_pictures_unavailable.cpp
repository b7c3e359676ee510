// The picture commands paint with the window library. A batch tool built without
// it (the Windows core build, a build with PELORIN_GUI off) still knows them and
// says why it cannot run them.
#ifndef PELORIN_CLI_HAS_PICTURES
#include <cstdio>

#include "cli/command.h"

namespace pelorin::cli {
namespace {

int Unavailable(const char* name) {
    std::fprintf(stderr,
                 "pelorin-cli %s: эта сборка пакетного инструмента без оконной библиотеки (Qt) и не рисует "
                 "картинок; возьмите pelorin-cli из полной сборки программы\n",
                 name);
    return 2;
}

Register renderReg({"render", "render --config FILE --woman STAMP --man STAMP [--chart bi-wheel|composite|davison] --out FILE.png (needs the window library)",
                    [](const std::vector<std::string>&) { return Unavailable("render"); }});
Register printReg({"print", "print --config FILE --page PAGE [--woman STAMP] [--man STAMP] --out FILE.pdf (needs the window library)",
                   [](const std::vector<std::string>&) { return Unavailable("print"); }});

}  // namespace
}  // namespace pelorin::cli
#endif
