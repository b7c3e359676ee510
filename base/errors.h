#pragma once
// The one exception type of the program's logic. Its message is Russian text in
// UTF-8, written so that a message box can show it as it stands.
#include <stdexcept>
#include <string>

namespace pelorin {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace pelorin
