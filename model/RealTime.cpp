#include "model/RealTime.h"

namespace {
RealTimeSink* sink = nullptr;
bool realTimeEdits = false;
} // namespace

void SetRealTimeSink(RealTimeSink* s) {
    sink = s;
}
RealTimeSink* GetRealTimeSink() {
    return sink;
}
void SetRealTimeEdits(bool on) {
    realTimeEdits = on;
}
bool RealTimeEdits() {
    return realTimeEdits;
}
