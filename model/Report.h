#pragma once
// The program reports every message through one function that the application installs:
// the GUI shows its own message box, the command-line tool writes to stderr, tests record.

#include <functional>
#include <string>

enum class MessageStyle { Info, Warning, Error, Question };

// Returns 1 for OK / "Yes" and 2 for Cancel / "No", as the program's message box does.
using MessageHandler = std::function<int(const std::string& text, MessageStyle style)>;

// Installs the handler and returns the previous one. Without a handler, messages go to stderr
// and the answer is 1.
MessageHandler SetMessageHandler(MessageHandler handler);

int ShowMessage(const std::string& text, MessageStyle style = MessageStyle::Info);

// printf-style formatting into a std::string; the program's fixed texts use it.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
