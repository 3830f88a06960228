#pragma once
// What a parameter needs to reach the unit while the user edits: the program-wide
// "Real-time Edits" switch and a sink that sends single values and whole blocks. The MIDI
// layer implements the sink and installs it; the model knows nothing of MIDI.

class VF1Effect;
class VF1Param;
class VF1TargetParam;

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

// Told of every change a parameter's setters make, after the value is stored and before it is
// sent: the window's edit history listens. nested is true for a change that another change made
// (a variable-position effect moving the other one).
class ParamEditListener {
  public:
    virtual ~ParamEditListener() = default;
    virtual void OnParamEdited(VF1Param& param, int oldValue, bool nested) = 0;
    // A control assign's target and its range, which change through setters of their own.
    virtual void OnTargetEdited(VF1TargetParam& target, int oldValue, int oldMin, int oldMax) = 0;
};

void SetParamEditListener(ParamEditListener* listener);
ParamEditListener* GetParamEditListener();
