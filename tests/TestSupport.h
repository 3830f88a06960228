#pragma once
// Test doubles shared by the core tests: a message recorder standing in for the message box.

#include <string>
#include <vector>

#include "model/Report.h"

// Installs itself as the program's message handler for its lifetime and records every text.
class MessageRecorder {
public:
    explicit MessageRecorder(int answer = 1);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<std::string>& Messages() const { return messages; }
    void Clear() { messages.clear(); }

private:
    std::vector<std::string> messages;
    MessageHandler previous;
};
