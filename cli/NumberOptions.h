#pragma once
// Numbers on the tool's command line. A number is taken only when the whole text is one, within its
// range: "100abc", "40.5" for a whole number, "nan" and "inf" are usage errors (exit 2) whose
// message states the range.

#include <optional>
#include <string>

#include <CLI/CLI.hpp>

// The number the whole text gives, when it lies from min to max.
std::optional<int> ParseWholeNumber(const std::string& text, int min, int max);
std::optional<double> ParseNumber(const std::string& text, double min, double max);

// "TEXT is not a whole number from MIN to MAX", as a usage error of option name.
CLI::ValidationError WholeNumberError(const std::string& name, const std::string& text, int min, int max);

// Options that take a whole number from min to max, or seconds from min to max.
CLI::Option* AddWholeNumber(CLI::App* app, const std::string& name, int& target, int min, int max,
                            const std::string& help);
CLI::Option* AddWholeNumber(CLI::App* app, const std::string& name, std::optional<int>& target, int min,
                            int max, const std::string& help);
CLI::Option* AddSeconds(CLI::App* app, const std::string& name, double& target, double min, double max,
                        const std::string& help);
