#include "cli/NumberOptions.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <utility>

#include "model/Report.h"

namespace {

// The name CLI11 gives an option in its messages: its longest form.
std::string OptionName(const std::string& names) {
    std::string longest;
    size_t start = 0;
    for (size_t end; start <= names.size(); start = end + 1) {
        end = names.find(',', start);
        if (end == std::string::npos) end = names.size();
        const std::string name = names.substr(start, end - start);
        if (name.size() > longest.size()) longest = name;
    }
    return longest;
}

} // namespace

std::optional<int> ParseWholeNumber(const std::string& text, int min, int max) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || at != end || value < min || value > max) return std::nullopt;
    return value;
}

std::optional<double> ParseNumber(const std::string& text, double min, double max) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || at != end || !std::isfinite(value) || value < min || value > max)
        return std::nullopt;
    return value;
}

CLI::ValidationError WholeNumberError(const std::string& name, const std::string& text, int min, int max) {
    return CLI::ValidationError(name,
                                Format("%s is not a whole number from %d to %d", text.c_str(), min, max));
}

namespace {

CLI::Option* AddWhole(CLI::App* app, const std::string& name, std::function<void(int)> set, int min, int max,
                      const std::string& help) {
    const std::string shown = OptionName(name);
    return app
        ->add_option_function<std::string>(
            name,
            [set = std::move(set), shown, min, max](const std::string& text) {
                const auto value = ParseWholeNumber(text, min, max);
                if (!value) throw WholeNumberError(shown, text, min, max);
                set(*value);
            },
            help)
        ->type_name("INT");
}

} // namespace

CLI::Option* AddWholeNumber(CLI::App* app, const std::string& name, int& target, int min, int max,
                            const std::string& help) {
    return AddWhole(
        app, name, [&target](int value) { target = value; }, min, max, help);
}

CLI::Option* AddWholeNumber(CLI::App* app, const std::string& name, std::optional<int>& target, int min,
                            int max, const std::string& help) {
    return AddWhole(
        app, name, [&target](int value) { target = value; }, min, max, help);
}

CLI::Option* AddSeconds(CLI::App* app, const std::string& name, double& target, double min, double max,
                        const std::string& help) {
    const std::string shown = OptionName(name);
    return app
        ->add_option_function<std::string>(
            name,
            [&target, shown, min, max](const std::string& text) {
                const auto value = ParseNumber(text, min, max);
                if (!value)
                    throw CLI::ValidationError(
                        shown, Format("%s is not a number of seconds from %g to %g", text.c_str(), min, max));
                target = *value;
            },
            help)
        ->type_name("SECONDS");
}
