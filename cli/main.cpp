// pelorin-cli: every analysis of the program for scripting and tests. JSON on
// standard output, messages on standard error; exit 0 on success, 1 on a data or
// input error, 2 on a usage error.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/command.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "base/native_path.h"
#include "people/first_start.h"

namespace pelorin::cli {

std::map<std::string, Command>& Registry() {
    static std::map<std::string, Command> commands;
    return commands;
}

Args::Args(const std::vector<std::string>& argv, const std::set<std::string>& allowed) {
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        if (a.size() < 3 || a.compare(0, 2, "--") != 0) throw UsageError("unexpected argument: " + pelorin::EchoText(a));
        std::string name = a.substr(2);
        if (!allowed.count(name)) throw UsageError("unknown option: " + pelorin::EchoText(a));
        if (i + 1 >= argv.size()) throw UsageError("option " + a + " needs a value");
        if (values_.count(name)) throw UsageError("option " + a + " given twice");
        values_[name] = argv[++i];
    }
}

std::optional<std::string> Args::get(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::string Args::required(const std::string& name) const {
    auto v = get(name);
    if (!v) throw UsageError("missing option --" + name);
    return *v;
}

namespace {

bool ParseInt(const std::string& s, int& out) {
    if (s.empty() || s.size() > 9) return false;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0 || (y < 1583 && y % 4 == 0); }

}  // namespace

DateArg ParseDateArg(const std::string& text) {
    DateArg d{};
    const bool shape = text.size() == 10 && text[2] == '.' && text[5] == '.';
    if (!shape || !ParseInt(text.substr(0, 2), d.day) || !ParseInt(text.substr(3, 2), d.month) ||
        !ParseInt(text.substr(6, 4), d.year))
        throw UsageError("--date must be DD.MM.YYYY, got \"" + pelorin::EchoText(text) + "\"");
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.month < 1 || d.month > 12) throw UsageError("--date: month must be 01..12");
    int maxDay = kDays[d.month - 1] + (d.month == 2 && IsLeap(d.year) ? 1 : 0);
    if (d.day < 1 || d.day > maxDay) throw UsageError("--date: no such day in that month");
    return d;
}

TimeArg ParseTimeArg(const std::string& text) {
    TimeArg t{};
    const bool shape = text.size() == 5 && text[2] == ':';
    if (!shape || !ParseInt(text.substr(0, 2), t.hour) || !ParseInt(text.substr(3, 2), t.minute) ||
        t.hour > 23 || t.minute > 59)
        throw UsageError("--time must be HH:MM (00:00..23:59), got \"" + pelorin::EchoText(text) + "\"");
    return t;
}

double ParseNumberArg(const std::string& name, const std::string& text) {
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end == nullptr || *end != '\0')
        throw UsageError("--" + name + " must be a number, got \"" + pelorin::EchoText(text) + "\"");
    return v;
}

namespace {
int gOutputErrno = 0;  // the first error met writing standard output
std::string gShippedDataDir;
std::string gStored;   // what the command stored (NoteStored)
}  // namespace

const std::string& ShippedDataDir() { return gShippedDataDir; }

void NoteStored(const std::string& what) { gStored = what; }

void PrintJson(const std::string& json) {
    std::fwrite(json.data(), 1, json.size(), stdout);
    std::fputc('\n', stdout);
    if (std::fflush(stdout) != 0 && gOutputErrno == 0) gOutputErrno = errno;
}

namespace {

void PrintUsage(std::FILE* to) {
    std::fprintf(to, "usage: pelorin-cli COMMAND [OPTIONS]\ncommands:\n");
    for (const auto& [name, cmd] : Registry()) std::fprintf(to, "  %s\n", cmd.usage.c_str());
}

}  // namespace

bool OutputWritten(const std::string& command) {
    // A full disk or a closed pipe loses the output only at the flush or later:
    // a command whose output did not reach its file has not succeeded.
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    const int err = gOutputErrno ? gOutputErrno : errno;
    std::fprintf(stderr, "pelorin-cli %s: вывод не записан: %s\n", command.c_str(),
                 err ? std::strerror(err) : "ошибка записи");
    if (!gStored.empty())
        std::fprintf(stderr, "pelorin-cli %s: %s Не повторяйте команду: сохранённое уже записано.\n", command.c_str(),
                     gStored.c_str());
    return false;
}

}  // namespace pelorin::cli

int main(int argc, char** argv) {
    using namespace pelorin::cli;
    pelorin::UseBinaryStandardStreams();
    const std::vector<std::string> args = pelorin::ProgramArguments(argc, argv);
    if (args.size() < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string name = args[1];
    if (name == "--version" || name == "-v") {
        std::printf("pelorin-cli %s\n", PELORIN_VERSION);
        return OutputWritten("--version") ? 0 : 1;
    }
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return OutputWritten("help") ? 0 : 1;
    }
    auto it = Registry().find(name);
    if (it == Registry().end()) {
        std::fprintf(stderr, "pelorin-cli: unknown command \"%s\"\n", name.c_str());
        PrintUsage(stderr);
        return 2;
    }
    if (const auto shipped = pelorin::FindShippedDirs(pelorin::ExecutableDir(args[0]))) gShippedDataDir = shipped->dataDir;
    std::vector<std::string> rest(args.begin() + 2, args.end());
    try {
        const int rc = it->second.run(rest);
        return OutputWritten(name) || rc != 0 ? rc : 1;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "pelorin-cli %s: %s\nusage: pelorin-cli %s\n", name.c_str(), e.what(),
                     it->second.usage.c_str());
        return 2;
    } catch (const pelorin::Error& e) {
        std::fprintf(stderr, "pelorin-cli %s: %s\n", name.c_str(), e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pelorin-cli %s: %s\n", name.c_str(), e.what());
        return 1;
    }
}
