#pragma once
// One parameter of an effect block: its stored value, where its bytes lie in the block's stream,
// its target number for control assigns and the shared value type that names its values.

#include <string>

#include "model/ParamPlacer.h"
#include "model/PatchStream.h"
#include "model/TypeCodes.h"
#include "model/VF1ValueType.h"

class VF1Effect;

class VF1Param {
  public:
    // The placer gives the parameter its stream offset and, by targetRule, its target number.
    VF1Param(ParamPlacer& placer, std::string label, std::string name, int width, int defaultValue, int type,
             int p1, int p2, int p3, int targetRule);
    VF1Param(ParamPlacer& placer, std::string name, int width, int defaultValue, int type, int targetRule)
        : VF1Param(placer, "", std::move(name), width, defaultValue, type, 0, 0, 0, targetRule) {}
    virtual ~VF1Param() = default;
    VF1Param(const VF1Param&) = delete;
    VF1Param& operator=(const VF1Param&) = delete;

    virtual void SetValueIndex(int index);
    virtual std::string GetEntryText(int index) const;
    virtual std::string GetTextForValue(int value) const;
    virtual int GetValueIndex() const;
    virtual int GetMin() const;
    virtual int GetMax() const;
    virtual void Write(PatchStream& stream) const;
    virtual void Read(PatchStream& stream);
    virtual ParamControlKind GetControlKind() const;
    virtual int GetControlWidth() const;

    void SetValue(int v);
    // Stores v without telling anyone, as reading patch data does: nothing is sent, no block moves.
    void SetStoredValue(int v) { value = v; }
    void ResetToDefault();
    int GetValue() const { return value; }
    int GetDefault() const { return defaultValue; }
    int GetDefaultIndex() const;
    int ValueAt(int index) const;
    int GetSplitValue() const;
    std::string GetFirstModeLabel() const;
    std::string GetSecondModeLabel() const;
    void SetOwner(VF1Effect* block) { owner = block; }
    VF1Effect* GetOwner() const { return owner; }
    bool IsDummy() const { return type == TypeCode::kDummy; }
    bool IsPositionParam() const { return TypeCode::IsPosition(type); }
    bool IsSetSelector() const { return TypeCode::IsSelector(type); }
    bool IsAssignParam() const { return TypeCode::IsControlAssign(type); }
    bool IsTarget() const { return type == TypeCode::kTarget; }
    int GetOffset() const { return offset; }
    int GetTarget() const { return target; }
    const std::string& GetName() const { return name; }
    const std::string& GetLabel() const { return label; }
    int GetType() const { return type; }
    int GetWidth() const { return width; }
    const VF1ValueType* GetValueType() const { return valueType; }
    void Randomise();

    // Where a real-time change of this parameter goes (hi * 256 + lo of 20 hi lo).
    int RealTimeAddress() const;

  protected:
    void OnValueChanged(int oldValue);
    void SendRealTime(int address, int v, int bytes) const;

    const VF1ValueType* valueType = nullptr;
    VF1Effect* owner = nullptr;
    int value;
    int defaultValue;
    int offset;
    int target = -1;
    std::string label;
    std::string name;
    int type;
    int width;
};

// Maps a byte offset of the header half (36 + offset in the control-assign area) to the 7-bit
// address word the unit expects: bit 7 moves into the high byte.
int HeaderAddressWord(int headerOffset);
