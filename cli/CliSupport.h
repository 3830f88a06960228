#pragma once
// Shared pieces of the command-line tool: exit codes, file access, loading a patch from a
// single-patch file or a bank slot, and the JSON writer.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "library/VF1Bank.h"
#include "model/VF1Algorithm.h"

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitDifferent = 3;

// A usage error found after the command line was parsed (a bad assignment, say): exit 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// An operation that failed after its message was shown: exit 1.
class OperationFailed : public std::runtime_error {
  public:
    OperationFailed() : std::runtime_error("failed") {}
};

// Files in and out, with OperationFailed once the message has been shown: a bank file as far as
// a bank is read, and any file written through the one safe writer.
std::vector<uint8_t> ReadBankOrFail(const std::string& path);
void WriteFileOrFail(const std::string& path, std::span<const uint8_t> bytes);

std::unique_ptr<VF1Bank> LoadBankFile(const std::string& path);

// The bank's empty slots as a list: "A5, B17".
std::string SlotList(const std::vector<int>& slots);
std::vector<int> EmptySlots(VF1Bank& bank);

// The image of a single-patch file, checked as the editor's Load checks it.
PatchImage LoadPatchImage(const std::string& path);

// Opens a patch in list: from a single-patch file, or from a bank's slot when slot >= 0.
VF1Algorithm& LoadPatch(VF1AlgorithmList& list, const std::string& path, int slot);

// The parameter's label and name as one line: line breaks shown as blanks.
std::string DisplayName(const std::string& label, const std::string& name);

// Writes JSON on one line with a blank after every ':' and ',' outside strings.
std::string DumpJson(const nlohmann::ordered_json& value);
