#include "TestSupport.h"

MessageRecorder::MessageRecorder(int answer) {
    previous = SetMessageHandler([this, answer](const std::string& text, MessageStyle) {
        messages.push_back(text);
        return answer;
    });
}

MessageRecorder::~MessageRecorder() { SetMessageHandler(previous); }
