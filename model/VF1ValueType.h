#pragma once
// The legal stored values of one parameter type code, each with its display text, and the
// control that shows them. Value types are built on first use and shared by every parameter
// with the same code (for code 85: the same p1, p2, p3).

#include <cstdint>
#include <string>
#include <vector>

// The control that shows a parameter in the panel; the panel builds one per parameter from it.
enum class ParamControlKind {
    Check = 0,       // one check box (Off/On)
    Toggle = 1,      // one option button per named value
    SelSlider = 2,   // a slider over a numeric part and a named part, with a mode button each
    Slider = 3,      // a slider with a value box: the default
    Target = 4,      // a control assign's target with its minimum and maximum
    RangeSlider = 5, // a slider paired with its partner: a control assign's source minimum and maximum
    None = 6,        // what a parameter without a value type reports: no control
};

struct VF1ValueEntry {
    std::string text;
    int32_t value;
};

class VF1ValueType {
  public:
    explicit VF1ValueType(int typeCode);

    int ValueAt(int index) const;        // stored value of entry index; 0 outside the list
    std::string TextAt(int index) const; // "" outside the list
    int IndexOf(int value) const;        // -1 when no entry stores value
    int MinValue() const { return minValue; }
    int MaxValue() const { return maxValue; }
    ParamControlKind ControlKind() const { return controlKind; }
    int ControlWidth() const { return controlWidth; }
    int SplitValue() const { return splitValue; }
    const std::string& FirstModeLabel() const { return firstModeLabel; }
    const std::string& SecondModeLabel() const { return secondModeLabel; }
    int TypeCode() const { return typeCode; }
    int Count() const { return static_cast<int>(entries.size()); }

    // Building (used by the cache only).
    void Add(std::string text, int value);
    // Numbered run: from..to (counting down when to <= from), texts formatted from the shown
    // number, stored values firstValue upward.
    void AddRange(int from, int to, int firstValue, const char* format);
    void SetControl(ParamControlKind kind, int width) {
        controlKind = kind;
        controlWidth = width;
    }
    void SetSplit(int split, std::string first, std::string second);
    void Finish(); // minimum and maximum from the first and last entries

  private:
    std::vector<VF1ValueEntry> entries;
    int typeCode;
    ParamControlKind controlKind = ParamControlKind::Slider;
    int controlWidth = -1;
    int minValue = 0;
    int maxValue = 0;
    int splitValue = 0;
    std::string firstModeLabel;
    std::string secondModeLabel;
};

inline constexpr int kTypeCodeCount = 153; // codes 0..152

// Fills a fresh value type with its code's row of the unit's type table (entries, control, split
// and labels); false when the code has no row. Used by the cache; code 85 is built from its triple.
bool FillFromTypeTable(VF1ValueType& type);

// The shared value type for a code (p1..p3 matter for code 85 only). Codes without a list
// (6, 30, 132, or outside 0..152) show "not handling paramtype %d" and give an empty type.
const VF1ValueType* ValueTypeFor(int typeCode, int p1 = 0, int p2 = 0, int p3 = 0);
void ReleaseValueType(int typeCode);
void ReleaseAllValueTypes();
// How many distinct code-85 triples have been built since the last release (for tests).
int CachedGenericTypeCount();
