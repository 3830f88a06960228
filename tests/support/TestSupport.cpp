#include "tests/support/TestSupport.h"

#include <cstdio>

#include "midi/SysExMessages.h"
#include "model/Random.h"
#include "model/VF1Algorithm.h"
#include "model/tables/AlgorithmInfo.h"

MessageRecorder::MessageRecorder(int answer) {
    previous = SetMessageHandler([this, answer](const std::string& text, MessageStyle) {
        messages.push_back(text);
        return answer;
    });
}

MessageRecorder::~MessageRecorder() {
    SetMessageHandler(previous);
}

RecordingSink::RecordingSink() : previous(GetRealTimeSink()), previousEdits(RealTimeEdits()) {
    SetRealTimeSink(this);
    SetRealTimeEdits(true);
}

RecordingSink::~RecordingSink() {
    SetRealTimeEdits(previousEdits);
    SetRealTimeSink(previous);
}

bool RecordingSink::SendParameter(int address, int value, int width) {
    parameters.push_back({address, value, width});
    return true;
}

bool RecordingSink::SendBlock(VF1Effect& block) {
    blocks.push_back(&block);
    return true;
}

ScriptedRandom::ScriptedRandom(std::vector<int> draws) : pending(draws.begin(), draws.end()) {
    SetRandomSource([this] {
        ++used;
        if (!pending.empty()) {
            last = pending.front();
            pending.pop_front();
        }
        return last;
    });
}

ScriptedRandom::~ScriptedRandom() {
    SetRandomSource({});
}

PatchImage FreshPatchImage(int algorithmNumber, const std::string& name, int slot) {
    VF1Algorithm algorithm(algorithmNumber);
    algorithm.SetName(name);
    PatchData data{};
    algorithm.WritePatchData(data.data());
    return PatchImageMessages(data, PatchAddress(slot), 0);
}

PatchImage MakePatchImage(int slot) {
    return FreshPatchImage(AlgorithmAtRow(slot % kAlgorithmCount), Format("Patch %d", slot), slot);
}

std::vector<uint8_t> MakeBankFile(const std::function<FreshPatch(int slot)>& patchOf) {
    std::vector<uint8_t> bytes;
    bytes.reserve(kBankFileSize);
    for (int slot = 0; slot < kPatchCount; ++slot) {
        const FreshPatch patch = patchOf(slot);
        const PatchImage image = FreshPatchImage(patch.algorithm, patch.name, slot);
        bytes.insert(bytes.end(), image.begin(), image.end());
    }
    const ClosingMessageBytes end = EndOfBulkMessage(0);
    bytes.insert(bytes.end(), end.begin(), end.end());
    return bytes;
}

std::vector<uint8_t> Hex(const char* text) {
    std::vector<uint8_t> out;
    unsigned byte = 0;
    int consumed = 0;
    while (std::sscanf(text, "%2x%n", &byte, &consumed) == 1) {
        out.push_back(static_cast<uint8_t>(byte));
        text += consumed;
    }
    return out;
}

const std::vector<uint8_t>& MakeBankFile() {
    static const std::vector<uint8_t> bank = MakeBankFile([](int slot) {
        return FreshPatch{AlgorithmAtRow(slot % kAlgorithmCount), Format("Patch %d", slot)};
    });
    return bank;
}
