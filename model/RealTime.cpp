#include "model/RealTime.h"

namespace {
RealTimeSink* sink = nullptr;
bool realTimeEdits = false;
ParamEditListener* editListener = nullptr;
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
void SetParamEditListener(ParamEditListener* listener) {
    editListener = listener;
}
ParamEditListener* GetParamEditListener() {
    return editListener;
}
