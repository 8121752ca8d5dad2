#pragma once

#include <QString>
#include <stdexcept>

// A graph command the platform refused: the platform's text for the result code, then " ($%x).".
// It travels to whoever asked for the command; an action's caller shows it.
class EGraphError : public std::runtime_error
{
  public:
    explicit EGraphError(const QString &message) : std::runtime_error(message.toStdString()), Message(message)
    {
    }
    const QString Message;
};
