#pragma once
// Test doubles shared by the core tests: a message recorder standing in for the message box, a
// recording real-time sink standing in for the unit, a scripted random source, and generators
// for patch images and bank files.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "model/RealTime.h"
#include "model/Report.h"
#include "model/VF1Patch.h"

// Installs itself as the program's message handler for its lifetime and records every text.
class MessageRecorder {
  public:
    explicit MessageRecorder(int answer = 1);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<std::string>& Messages() const { return messages; }
    void Clear() { messages.clear(); }

  private:
    std::vector<std::string> messages;
    MessageHandler previous;
};

// Installs itself as the real-time sink with "Real-time Edits" on for its lifetime and records
// what a parameter change would send to the unit.
class RecordingSink : public RealTimeSink {
  public:
    struct Sent {
        int address;
        int value;
        int width;
        bool operator==(const Sent&) const = default;
    };

    RecordingSink();
    ~RecordingSink() override;
    RecordingSink(const RecordingSink&) = delete;
    RecordingSink& operator=(const RecordingSink&) = delete;

    bool SendParameter(int address, int value, int width) override;
    bool SendBlock(VF1Effect& block) override;

    std::vector<Sent> parameters;
    std::vector<VF1Effect*> blocks;

  private:
    RealTimeSink* previous;
    bool previousEdits;
};

// Replaces the randomiser's generator with the given draws (0..32767) for its lifetime; once
// they run out it repeats the last one.
class ScriptedRandom {
  public:
    explicit ScriptedRandom(std::vector<int> draws);
    ~ScriptedRandom();
    ScriptedRandom(const ScriptedRandom&) = delete;
    ScriptedRandom& operator=(const ScriptedRandom&) = delete;

    int Used() const { return used; }

  private:
    std::deque<int> pending;
    int last = 0;
    int used = 0;
};

// The image the program writes for a fresh patch of an algorithm with a name, addressed to memory
// slot slot, device ID 0.
PatchImage FreshPatchImage(int algorithmNumber, const std::string& name, int slot);
// The image of a new patch of the algorithm in row slot % 37, named "Patch <slot>", in slot slot.
PatchImage MakePatchImage(int slot);

// A bank file as the program writes it: 202 fresh images and the end-of-bulk message; slot i
// holds a patch of the algorithm and name that patchOf(i) gives.
struct FreshPatch {
    int algorithm;
    std::string name;
};
std::vector<uint8_t> MakeBankFile(const std::function<FreshPatch(int slot)>& patchOf);
// The bank of MakePatchImage's patches.
const std::vector<uint8_t>& MakeBankFile();

// The bytes written as hex pairs, blanks between them allowed: Hex("F0 41 10").
std::vector<uint8_t> Hex(const char* text);
