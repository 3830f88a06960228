#include "lfo/LfoFields.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Sign, digits with at most one point and at least one digit, then an optional exponent.
bool IsDecimal(const std::string& s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(s[i]))) ++digits;
        else if (s[i] == '.' && !point) point = true;
        else break;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        size_t exponent = 0;
        for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) ++exponent;
        if (exponent == 0) return false;
    }
    return i == s.size();
}

// printf's "%.6g" and "%f", in the C locale whatever the user's is.
std::string Written(double value, std::chars_format format, int precision) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, format, precision);
    return std::string(text, result.ptr);
}

} // namespace

std::optional<float> ParseLfoNumber(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    const std::string number = text.substr(begin, end - begin);
    if (!IsDecimal(number)) return std::nullopt;
    double value = 0;
    // from_chars takes no leading '+'.
    const size_t skip = number[0] == '+' ? 1 : 0;
    const auto result = std::from_chars(number.data() + skip, number.data() + number.size(), value);
    if (result.ec != std::errc() || !std::isfinite(static_cast<float>(value))) return std::nullopt;
    return static_cast<float>(value);
}

std::string LfoRangeMessage(float min, float max) {
    const auto text = [](float v) { return Written(v, std::chars_format::general, FLT_DIG); };
    return "Please enter a number between " + text(min) + " and " + text(max) + ".";
}

std::string CheckLfoField(const std::string& text, float min, float max, float& value) {
    const std::optional<float> number = ParseLfoNumber(text);
    if (!number) return kLfoNotANumber;
    value = *number;
    if (value < min || value > max) return LfoRangeMessage(min, max);
    return {};
}

std::string LfoRateTextFromTempo(float tempo, int timeSignatureIndex, int cyclesIndex) {
    const int beats = timeSignatureIndex + 2;
    const int cycles = cyclesIndex + 1;
    const float rate = static_cast<float>(cycles) * tempo / static_cast<float>(beats) / 60.0f;
    return Written(rate, std::chars_format::fixed, 6);
}
