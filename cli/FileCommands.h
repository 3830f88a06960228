#pragma once
// The tool's file commands: patches and banks on disk, no MIDI port involved.

#include <string>
#include <vector>

struct NewOptions {
    int algorithm = -1;
    std::string name;
    int category = -1; // -1: the algorithm's default category
    int deviceId = 0;
    std::string output;
};
int RunNew(const NewOptions& options);

int RunShow(const std::string& path, int slot, bool json);

struct SetOptions {
    std::string input;
    std::string output;
    int slot = -1;
    int deviceId = 0;
    std::vector<std::string> assignments;
};
int RunSet(const SetOptions& options);

int RunDiff(const std::string& pathA, int slotA, const std::string& pathB, int slotB);

int RunBankList(const std::string& path, bool json);
int RunBankExtract(const std::string& path, int slot, const std::string& output, int deviceId);
int RunBankPut(const std::string& path, int slot, const std::string& patchPath, const std::string& output,
               int deviceId);
int RunBankRepair(const std::string& path, const std::string& output, const std::string& fillPath,
                  int deviceId);
