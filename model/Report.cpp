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
    // Most texts fit the first buffer; a longer one is formatted again into one of its size.
    char small[256];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    std::string out;
    if (needed >= static_cast<int>(sizeof small)) {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        out.assign(buffer.data(), static_cast<size_t>(needed));
    } else if (needed > 0) {
        out.assign(small, static_cast<size_t>(needed));
    }
    va_end(args);
    return out;
}
