#pragma once

#include <stdexcept>
#include <string>

// A refusal or failure with the program's own message text; the module
// raises it in Python as zantro.DesignError, a ValueError.
class DesignError : public std::runtime_error {
public:
    explicit DesignError(const std::string& message) : std::runtime_error(message) {}
};
