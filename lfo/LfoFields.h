#pragma once
// The LFO's number fields as the panel and the command line read them: the rate in Hz and the
// tempo in BPM, each with its range and the messages for a field that does not hold a number or
// holds one outside its range; and the rate a tempo, a time signature and cycles per bar give.

#include <optional>
#include <string>

inline constexpr float kLfoRateMin = 0.01f;
inline constexpr float kLfoRateMax = 10.0f;
inline constexpr float kLfoTempoMin = 50.0f;
inline constexpr float kLfoTempoMax = 250.0f;

inline constexpr const char* kLfoNotANumber = "Please enter a number.";

// Time signatures 2/4 .. 5/4 and 1 .. 16 cycles per bar, by list index.
inline constexpr int kLfoTimeSignatures = 4;
inline constexpr int kLfoCyclesPerBar = 16;

// A decimal number with blanks around it allowed and nothing else; no infinities or NaNs.
std::optional<float> ParseLfoNumber(const std::string& text);

// "Please enter a number between 0.01 and 10." for a range, the bounds written as the
// framework writes a float (six significant digits, no trailing zeros).
std::string LfoRangeMessage(float min, float max);

// Reads a field into value. Returns the message when the text is not a number, or when the
// number lies outside min..max (value then holds the number all the same); "" when it is good.
std::string CheckLfoField(const std::string& text, float min, float max, float& value);

// The rate text the tempo fields give: cycles x tempo / beats / 60 in Hz, written with "%f",
// where beats = timeSignatureIndex + 2 and cycles = cyclesIndex + 1.
std::string LfoRateTextFromTempo(float tempo, int timeSignatureIndex, int cyclesIndex);
