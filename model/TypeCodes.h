#pragma once
// The type codes (0..152) that decide more than a parameter's list of values.

namespace TypeCode {

// The six parameters of a control assign, in the Master's header area.
inline constexpr int kSourceType = 1;
inline constexpr int kSourceMode = 2;
inline constexpr int kSourceMin = 3; // shown paired with kSourceMax
inline constexpr int kSourceMax = 4;
inline constexpr int kAssignOnOff = 5;
inline constexpr int kTarget = 6; // a number of the Master's target table; no value list of its own

inline constexpr int kTapDelayTime = 26; // a tap's delay time in the twenty-tap delay
inline constexpr int kDummy = 30;        // reserved bytes: written as zeros, read past, never shown
inline constexpr int kFxOnOff = 36;      // a block's switch: out of range reads as on, never randomised
inline constexpr int kTunerOnOff = 38;   // the two global switches, control-assign targets only
inline constexpr int kEffectsOnOff = 39;
inline constexpr int kGeneric = 85; // a numbered run: its value type is built from the parameter's numbers

// A block's place in the chain; moving one moves the other.
inline constexpr int kFirstPosition = 95;
inline constexpr int kSecondPosition = 96;

// A selector chooses the module (the set of parameters) its block shows.
inline constexpr int kFirstSelector = 120;
inline constexpr int kLastSelector = 131;

constexpr bool IsControlAssign(int code) {
    return code >= kSourceType && code <= kTarget;
}
constexpr bool IsPosition(int code) {
    return code == kFirstPosition || code == kSecondPosition;
}
constexpr bool IsSelector(int code) {
    return code >= kFirstSelector && code <= kLastSelector;
}

} // namespace TypeCode
