#pragma once

#include <stdexcept>
#include <string>

namespace common {

// Every error the core throws carries the exact text the user is shown (UTF-8). The text has no
// closing full stop: the general error box adds it, and the batch command prints the text as it is.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& text) : std::runtime_error(text) {}
};

// The input is refused: a workbook that cannot be read, a text that is no number.
class Refusal : public Error {
public:
    using Error::Error;
};

// An operation on a file or on the database failed.
class Failure : public Error {
public:
    using Error::Error;
};

// A refusal that the window shows in a warning box titled "警告" instead of the general error box.
class Warning : public Error {
public:
    using Error::Error;
};

} // namespace common
