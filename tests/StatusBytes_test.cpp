// Bytes of 80H or more where only data bytes belong. On the wire such a byte ends the message it
// falls in: the program's receiver and the virtual unit split the same bytes into the same
// messages, and the unit stores nothing of a message cut short. In a patch image such a byte is
// damage: the image doesn't load, a bank holding it has an empty slot there, and an image that
// still holds one is neither saved nor sent.

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "library/BankFile.h"
#include "library/VF1Bank.h"
#include "midi/SysExMessages.h"
#include "midi/VF1MIDI.h"
#include "midi/drivers/MidiInputQueue.h"
#include "midi/drivers/VirtualUnit.h"
#include "model/PatchImage.h"
#include "model/SysEx.h"
#include "tests/support/TestDrivers.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

// The bytes the program's receiver keeps, in order (a message it cuts short keeps what came before
// the status byte; the next message follows in the same buffer).
Bytes ThroughTheReceiver(const Bytes& stream) {
    Bytes kept;
    MidiInputQueue queue;
    queue.Open([&](int notice, MidiInBuffer* b) {
        if (notice == kMidiInLongData)
            kept.insert(kept.end(), b->data.begin(), b->data.begin() + b->bytesRecorded.load());
    });
    std::array<MidiInBuffer, 8> buffers;
    for (auto& b : buffers) {
        queue.Prepare(b);
        queue.Add(b);
    }
    queue.Start();
    queue.Deliver(stream.data(), stream.size());
    queue.Close();
    return kept;
}

// What the virtual unit makes of the same bytes: each message's length and the byte that ended
// it short (0 for F7).
struct Seen {
    size_t length;
    uint8_t endedBy;
    bool operator==(const Seen&) const = default;
};
std::vector<Seen> ThroughTheUnit(const Bytes& stream, VirtualUnit& unit) {
    std::vector<Seen> seen;
    // Control Changes are the LFO's and count apart: only exclusive messages are seen here.
    unit.SetListener([&](const VirtualUnit::Received& r) {
        if (!r.controller) seen.push_back({r.length, r.endedBy});
    });
    unit.Receive(stream.data(), stream.size());
    unit.SetListener(nullptr);
    return seen;
}

// A parameter edit of the edit buffer (20 01 24, two data bytes), with an optional byte replaced.
Bytes Edit(uint8_t high, uint8_t low) {
    Bytes m = Hex("F0 41 00 00 23 12 20 01 24");
    m.push_back(high);
    m.push_back(low);
    m.push_back(SysExChecksum(0x20 + 0x01 + 0x24, std::span<const uint8_t>(m.data() + 9, 2)));
    m.push_back(kSysExEnd);
    return m;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace

// Every stream ends with a whole message, so that the receiver hands back all it kept.
TEST(StatusBytesOnTheWire, ReceiverAndUnitEndMessagesAlike) {
    const Bytes good = Edit(0x00, 0x07);
    const auto first = [&good](size_t n) { return Bytes(good.begin(), good.begin() + static_cast<long>(n)); };
    Bytes strayData = good;
    strayData[10] = 0x85; // instead of 07
    struct Case {
        const char* name;
        Bytes stream;
        Bytes kept;             // by the program's receiver
        std::vector<Seen> unit; // what the unit sees
    };
    const Case cases[] = {
        {"a whole message", good, good, {{13, 0}}},
        {"a data byte of 85H", Join({strayData, good}), Join({first(10), good}), {{10, 0x85}, {13, 0}}},
        {"a note-on in the middle",
         Join({first(5), Hex("90 40 7F"), good}),
         Join({first(5), good}),
         {{5, 0x90}, {13, 0}}},
        {"a new F0 before the F7",
         Join({first(9), good}),
         Join({first(9), good}),
         {{9, kSysExStart}, {13, 0}}},
        {"a clock tick inside passes by",
         Join({first(4), Hex("F8"), Bytes(good.begin() + 4, good.end())}),
         good,
         {{13, 0}}},
        {"bytes outside a message pass by", Join({Hex("B0 07 64 F7 12"), good}), good, {{13, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ThroughTheReceiver(c.stream), c.kept);
        VirtualUnit unit(nullptr, 0);
        EXPECT_EQ(ThroughTheUnit(c.stream, unit), c.unit);
        EXPECT_EQ(unit.GoodMessages(), 1);
        EXPECT_EQ(unit.BadMessages(), static_cast<int>(c.unit.size()) - 1);
    }
}

// A write cut short by a status byte stores nothing, and the unit answers as before.
TEST(StatusBytesOnTheWire, TheUnitKeepsItsMemory) {
    Bytes answers;
    VirtualUnit unit([&](const uint8_t* b, size_t n) { answers.insert(answers.end(), b, b + n); }, 0);
    const PatchData before = unit.Patch(0);
    const std::array<uint8_t, kGlobalSize> global = unit.Global();

    // A DT1 to slot A1 whose data carries 90H.
    PatchData other = FreshPatchData(3, "Other");
    Bytes write = PatchSendMessages(other, PatchAddress(0), true, 0);
    write.resize(175); // the first message
    write[9 + 40] = 0x90;
    unit.Receive(write.data(), write.size());
    EXPECT_EQ(unit.Patch(0), before);
    EXPECT_EQ(unit.BadMessages(), 1);

    const auto globalRequest = GlobalRequestMessage(0);
    const auto patchRequest = PatchRequestMessage(PatchAddress(0), 0);
    const Bytes requests = Join(
        {Bytes(globalRequest.begin(), globalRequest.end()), Bytes(patchRequest.begin(), patchRequest.end())});
    unit.Receive(requests.data(), requests.size());
    unit.Flush();
    const auto globalAnswer = GlobalMessage(global, 0);
    EXPECT_EQ(answers, Join({Bytes(globalAnswer.begin(), globalAnswer.end()),
                             PatchReplyMessages(before, PatchAddress(0), 0)}));
}

TEST(StatusBytesInImages, AnImageHoldingOneIsDamage) {
    const PatchImage clean = MakePatchImage(4);
    PatchImage stray = clean;
    stray[175 + 9 + 30] = 0x85;
    stray[430 + 2] = 0x80; // a device ID is a data byte too

    EXPECT_TRUE(StrayStatusBytes(clean).empty());
    EXPECT_EQ(StrayStatusBytes(stray), (std::vector<int>{214, 432}));
    EXPECT_EQ(StrayBytesText(stray, StrayStatusBytes(stray)), "offsets 214 (85H), 432 (80H)");

    PatchData data{};
    PatchImage copy = stray;
    EXPECT_FALSE(ParseImageData(copy, false, data));
    EXPECT_EQ(copy, stray) << "a refused image stays as it was";
    VF1Patch patch;
    EXPECT_FALSE(patch.SetImage(stray, true));

    // Loaded in the editor: the message says where.
    MessageRecorder messages;
    PatchImage loaded = stray;
    EXPECT_FALSE(VF1MIDI::Instance().ParseImage(loaded.data(), true, false));
    EXPECT_EQ(
        messages.Messages(),
        std::vector<std::string>{"SysEx formatting error - unable to load.\n\nData bytes are 00H to 7FH; "
                                 "these are not: offsets 214 (85H), 432 (80H)."});
    // A wrong frame keeps its own message.
    messages.Clear();
    loaded[0] = 0x00;
    EXPECT_FALSE(VF1MIDI::Instance().ParseImage(loaded.data(), true, false));
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"SysEx formatting error - unable to load."});

    // Message 1's checksum is recomputed when salvage asks for it, so a bad one there is no damage.
    PatchImage badChecksum = clean;
    badChecksum[173] = 0xFF;
    EXPECT_TRUE(ParseImageData(badChecksum, true, data));
    EXPECT_EQ(badChecksum, clean);
}

TEST(StatusBytesInImages, ABankHoldingOneHasAnEmptySlotThere) {
    Bytes file = MakeBankFile();
    file[kPatchImageSize * 4 + 175 + 9 + 30] = 0x85;
    MessageRecorder messages;
    VF1Bank bank(file.data(), file.size());
    EXPECT_FALSE(bank.GetAt(4)->IsValid());
    EXPECT_TRUE(bank.GetAt(3)->IsValid());
    EXPECT_TRUE(bank.GetAt(5)->IsValid());
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].rfind("Encountered patches with invalid SysEx formatting/corruption", 0),
              0u);
}

// An image changed behind the bank's back (its bytes are writable) is caught on the way out.
TEST(StatusBytesInImages, NeitherSavedNorSent) {
    VF1Bank bank(MakeBankFile().data(), MakeBankFile().size());
    bank.GetAt(150)->GetImage()[300] = 0xC0;
    const std::string refusal =
        "The patch in slot B50 holds bytes of 80H or more inside its messages (offset 300 (C0H)).  ";

    const fs::path path = fs::temp_directory_path() / ("quellin-stray-" + std::to_string(getpid()) + ".syx");
    {
        MessageRecorder messages;
        EXPECT_FALSE(SaveBankFile(bank, path.string(), 0, ImageDeviceIds::AsTheyAre));
        EXPECT_EQ(messages.Messages(), std::vector<std::string>{refusal + "The bank was not saved."});
        EXPECT_FALSE(fs::exists(path));
    }
    {
        MessageRecorder messages;
        RecordingDriver driver;
        VF1MIDI::Release();
        VF1MIDI& midi = VF1MIDI::Instance();
        midi.SetDriver(&driver);
        const Bytes bytes = BankFileBytes(bank, 0, ImageDeviceIds::AsTheyAre);
        EXPECT_FALSE(midi.SendBank(bytes.data()));
        EXPECT_EQ(messages.Messages(), std::vector<std::string>{refusal + "The bank was not sent."});
        EXPECT_TRUE(driver.Calls().empty()) << "no device was even opened";
        midi.SetDriver(nullptr);
        VF1MIDI::Release();
    }
}
