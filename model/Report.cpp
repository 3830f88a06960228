#include "model/Report.h"

#include <cstdarg>
#include <cstdio>
#include <utility>
#include <vector>

namespace {
MessageHandler& Handler() {
    static MessageHandler handler;
    return handler;
}
} // namespace

MessageHandler SetMessageHandler(MessageHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

int ShowMessage(const std::string& text, MessageStyle style) {
    if (Handler()) return Handler()(text, style);
    std::fprintf(stderr, "%s\n", text.c_str());
    return 1;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        out.assign(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(args);
    return out;
}
