#pragma once
// Commands of the batch tool. Each command lives in its own file and registers
// itself; main() dispatches on the first argument.
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace pelorin::cli {

// A usage error: exit code 2.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& m) : std::runtime_error(m) {}
};

// Options of the form --name VALUE, checked against the names a command accepts.
class Args {
public:
    Args(const std::vector<std::string>& argv, const std::set<std::string>& allowed);
    bool has(const std::string& name) const { return values_.count(name) != 0; }
    std::optional<std::string> get(const std::string& name) const;
    std::string required(const std::string& name) const;

private:
    std::map<std::string, std::string> values_;
};

struct Command {
    std::string name;
    std::string usage;  // one line, shown by --help and on usage errors
    std::function<int(const std::vector<std::string>&)> run;  // returns the exit code
};

std::map<std::string, Command>& Registry();

struct Register {
    explicit Register(Command c) { Registry()[c.name] = std::move(c); }
};

// Parsers shared by the commands; they throw UsageError with a clear message.
struct DateArg { int day, month, year; };
DateArg ParseDateArg(const std::string& text);  // DD.MM.YYYY
struct TimeArg { int hour, minute; };
TimeArg ParseTimeArg(const std::string& text);  // HH:MM
double ParseNumberArg(const std::string& name, const std::string& text);

// The data directory the program ships, found beside the batch tool as the
// desktop program finds it (people/first_start.h); empty when there is none.
const std::string& ShippedDataDir();

// Writes one line of JSON to standard output.
void PrintJson(const std::string& json);

// Whether everything written to standard output reached it; when not, says so
// on standard error (the command's exit is then 1).
bool OutputWritten(const std::string& command);

// What a command has stored in the data directory (UTF-8), for the message of
// an output that then could not be written: the store is done, and repeating
// the command would store the people again.
void NoteStored(const std::string& what);

}  // namespace pelorin::cli
