#include "model/VF1Param.h"

#include <cmath>

#include "model/PatchLayout.h"
#include "model/Random.h"
#include "model/RealTime.h"
#include "model/VF1Effect.h"

int HeaderAddressWord(int headerOffset) {
    return (headerOffset & 0x7F) + ((headerOffset & 0x80) << 1);
}

VF1Param::VF1Param(ParamPlacer& placer, std::string label_, std::string name_, int width_, int default_,
                   int type_, int p1, int p2, int p3, int targetRule)
    : value(default_), defaultValue(default_), offset(placer.Place(width_)), label(std::move(label_)),
      name(std::move(name_)), type(type_), width(width_) {
    // A Dummy takes its bytes and nothing else: no target number, no value type.
    if (IsDummy()) return;
    target = placer.Target(targetRule);
    // The Target of a control assign has no list of its own: it names entries of the Master's table.
    if (!IsTarget()) valueType = ValueTypeFor(type, p1, p2, p3);
}

void VF1Param::SetValueIndex(int index) {
    SetValue(ValueAt(index));
}

std::string VF1Param::GetEntryText(int index) const {
    return valueType ? valueType->TextAt(index) : "";
}

std::string VF1Param::GetTextForValue(int v) const {
    return valueType ? valueType->TextAt(v - valueType->MinValue()) : "";
}

int VF1Param::GetValueIndex() const {
    return valueType ? valueType->IndexOf(value) : 0;
}
int VF1Param::GetMin() const {
    return valueType ? valueType->MinValue() : 0;
}
int VF1Param::GetMax() const {
    return valueType ? valueType->MaxValue() : 0;
}
ParamControlKind VF1Param::GetControlKind() const {
    return valueType ? valueType->ControlKind() : ParamControlKind::None;
}
int VF1Param::GetControlWidth() const {
    return valueType ? valueType->ControlWidth() : -1;
}
int VF1Param::GetDefaultIndex() const {
    return valueType ? valueType->IndexOf(defaultValue) : 0;
}
int VF1Param::ValueAt(int index) const {
    return valueType ? valueType->ValueAt(index) : 0;
}
int VF1Param::GetSplitValue() const {
    return valueType ? valueType->SplitValue() : 0;
}
std::string VF1Param::GetFirstModeLabel() const {
    return valueType ? valueType->FirstModeLabel() : "";
}
std::string VF1Param::GetSecondModeLabel() const {
    return valueType ? valueType->SecondModeLabel() : "";
}

void VF1Param::Write(PatchStream& stream) const {
    if (IsDummy()) {
        stream.PutZeros(static_cast<size_t>(width));
    } else if (width == 2) {
        stream.Put(NibbleEncode8(value).data(), 2);
    } else if (width == 4) {
        stream.Put(NibbleEncode16(value).data(), 4);
    }
}

void VF1Param::Read(PatchStream& stream) {
    if (IsDummy()) {
        stream.Skip(static_cast<size_t>(width));
        return;
    }
    const uint8_t* bytes = nullptr;
    int decoded = 0;
    if (width == 2 && (bytes = stream.Take(2))) {
        decoded = NibbleDecode8(bytes);
    } else if (width == 4 && (bytes = stream.Take(4))) {
        decoded = NibbleDecode16(bytes);
    } else {
        return;
    }
    const auto v = static_cast<unsigned>(decoded);
    if (v < static_cast<unsigned>(GetMin()) || v > static_cast<unsigned>(GetMax()))
        decoded = type == TypeCode::kFxOnOff ? 1 : GetMin();
    value = decoded;
}

void VF1Param::SetValue(int v) {
    const int old = value;
    value = v;
    if (old != value) OnValueChanged(old);
}

void VF1Param::ResetToDefault() {
    SetValue(defaultValue);
}

int VF1Param::RealTimeAddress() const {
    if (IsAssignParam()) return HeaderAddressWord(kControlAssignAreaOffset + offset);
    int l = (owner ? owner->GetAddress() : 0) + offset;
    // The low address byte must stay below 80H: 180H..1FFH continue at 200H.
    if (l >= 0x180 && l <= 0x1FF) l = l - 0x180 + 0x200;
    return l;
}

void VF1Param::SendRealTime(int address, int v, int bytes) const {
    if (RealTimeSink* sink = GetRealTimeSink()) sink->SendParameter(address, v, bytes);
}

namespace {
// How deep the current change runs: a change made while another one is being handled is nested.
int changeDepth = 0;
} // namespace

void VF1Param::OnValueChanged(int oldValue) {
    if (ParamEditListener* listener = GetParamEditListener())
        listener->OnParamEdited(*this, oldValue, changeDepth > 0);
    ++changeDepth;
    struct Leave {
        ~Leave() { --changeDepth; }
    } leave;
    if (RealTimeEdits()) {
        if (IsSetSelector()) {
            if (owner)
                if (RealTimeSink* sink = GetRealTimeSink()) sink->SendBlock(*owner);
        } else if (IsAssignParam()) {
            SendRealTime(RealTimeAddress(), value, 4);
        } else {
            SendRealTime(RealTimeAddress(), value, width);
        }
    }
    if (IsPositionParam() && owner) owner->NotifyPositionChanged(oldValue, value);
    if (IsSetSelector() && owner) owner->NotifyLayoutChanged();
}

namespace {
// rand() / 32768 as the single-precision draw the randomiser formulas use.
float Draw() {
    return static_cast<float>(RandomDraw()) / 32768.0f;
}
int Trunc(double x) {
    return static_cast<int>(x);
}
} // namespace

void VF1Param::Randomise() {
    if (type == TypeCode::kFxOnOff || IsDummy()) return;
    if (IsPositionParam()) {
        const float r = Draw();
        if (Trunc(2.0f * r + 0.5f) != 2) return;
    }
    const float r = Draw();
    const int min = GetMin();
    const int max = GetMax();
    int v;
    switch (type) {
    case 14:
        v = Trunc((max - min - 10) * r + 0.5f + 5);
        break;
    case 15:
        v = Trunc((max - min - 2) * r + 0.5f + 1);
        break;
    case 23:
    case 24:
    case 25:
    case 26: {
        const int k = Trunc(9.0f * r + 0.5f);
        if (k < 4) v = Trunc(min + 20.0f * r + 0.5f);
        else if (k < 7) v = Trunc(min + 35.0f * r + 0.5f);
        else if (k < 9) v = Trunc(min + 50.0f * r + 0.5f);
        else v = Trunc(min + (max - min) * r + 0.5f);
        break;
    }
    case 54:
        v = Trunc(45.0f * r + 0.5f + 35);
        break;
    case 55:
        v = Trunc(3.0f * r + 0.5f) == 3 ? Trunc(90.0f * r + 0.5f) : Trunc(50.0f * r + 0.5f);
        break;
    case 56:
        v = Trunc(70.0f * r + 0.5f + 15);
        break;
    case 57:
        v = Trunc(50.0f * r + 0.5f + 20);
        break;
    case 58:
        v = Trunc(60.0f * r + 0.5f + 20);
        break;
    case 59:
        v = Trunc(65.0f * r + 0.5f + 25);
        break;
    case 60:
        v = Trunc(20.0f * r + 0.5f + 2);
        break;
    case 61:
        v = Trunc(10.0f * r + 0.5f + 7);
        break;
    case 62:
        v = Trunc(30.0f * r + 0.5f + 5);
        break;
    case 63:
        v = Trunc(10.0f * r + 0.5f + 15);
        break;
    case 64:
    case 65:
    case 66:
        v = Trunc((max - 40) * r + 0.5f + 40);
        break;
    case 143:
        v = Trunc(160.0f * r + 0.5f + 20);
        break;
    default:
        v = Trunc(min + (max - min) * r + 0.5f);
        break;
    }
    SetValue(v);
}
