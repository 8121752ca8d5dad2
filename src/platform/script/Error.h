#pragma once

#include <QString>

#include <stdexcept>

namespace Script
{

// A run-time error: raised by the script (raise), by the interpreter (division by zero, an index
// out of bounds) or by a routine the host bound. A script's try ... except catches it; uncaught,
// it ends the run and `message` becomes the run's error text. Host routines may throw it, or any
// std::exception, whose what() then becomes the message.
class Error : public std::runtime_error
{
  public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()), message(message) {}

    QString message;
};

// Thrown when a run is stopped from outside. It is no std::exception, so neither a script's
// except handler nor a host routine's catch of std::exception stops it; finally blocks still run.
struct Stopped {
};

} // namespace Script
