#pragma once
// What a parameter needs to reach the unit while the user edits: the program-wide
// "Real-time Edits" switch and a sink that sends single values and whole blocks. The MIDI
// layer implements the sink and installs it; the model knows nothing of MIDI.

class VF1Effect;

class RealTimeSink {
  public:
    virtual ~RealTimeSink() = default;
    // address = hi * 256 + lo of the real-time area 20 hi lo; width 2 or 4 data bytes.
    virtual bool SendParameter(int address, int value, int width) = 0;
    virtual bool SendBlock(VF1Effect& block) = 0;
};

void SetRealTimeSink(RealTimeSink* sink);
RealTimeSink* GetRealTimeSink();

void SetRealTimeEdits(bool on);
bool RealTimeEdits();
