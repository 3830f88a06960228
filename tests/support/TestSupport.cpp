#include "tests/support/TestSupport.h"

#include "midi/VF1MIDI.h"
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

PatchImage MakePatchImage(int slot) {
    VF1Algorithm algorithm(AlgorithmAtRow(slot % kAlgorithmCount));
    algorithm.SetName(Format("Patch %d", slot));
    PatchImage built{};
    VF1MIDI::Instance().BuildPatchImage(algorithm, built.data());
    VF1Patch patch;
    patch.SetImage(built, false);
    patch.SetPatchNumber(slot);
    return patch.Image();
}

const std::vector<uint8_t>& MakeBankFile() {
    static const std::vector<uint8_t> bank = [] {
        std::vector<uint8_t> bytes(kBankFileSize);
        for (int slot = 0; slot < kPatchCount; ++slot) {
            const PatchImage image = MakePatchImage(slot);
            std::copy(image.begin(), image.end(), bytes.begin() + kPatchImageSize * slot);
        }
        VF1MIDI::Instance().BuildTerminator(bytes.data() + kBankImagesSize);
        return bytes;
    }();
    return bank;
}
