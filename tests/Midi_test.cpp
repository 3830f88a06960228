#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "midi/VF1MIDI.h"
#include "midi/drivers/MidiSystem.h"
#include "midi/drivers/VirtualUnit.h"
#include "midi/drivers/VirtualUnitDriver.h"
#include "model/RealTime.h"
#include "model/SysEx.h"
#include "model/VF1Algorithm.h"
#include "model/VF1Effect.h"
#include "model/VF1Param.h"
#include "model/tables/AlgorithmInfo.h"
#include "tests/support/TestDrivers.h"
#include "tests/support/TestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Call = RecordingDriver::Call;

Bytes Slice(const uint8_t* data, size_t from, size_t n) {
    return Bytes(data + from, data + from + n);
}

template <typename T> std::vector<T> Concat(std::vector<T> a, const std::vector<T>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const PatchAddressBytes kEditBuffer{0x10, 0x00, 0x00};

// The unit's answer to a patch request, and the same patch in the single-patch file's layout.
Bytes Reply410(const PatchData& data) {
    return PatchReplyMessages(data, kEditBuffer, 0);
}
Bytes Reply598(const PatchData& data) {
    const PatchImage image = PatchImageMessages(data, kEditBuffer, 0);
    return Concat(Bytes(image.begin(), image.end()), Hex("F0 41 00 00 23 12 60 00 00 00 00 20 F7"));
}

Bytes GlobalReply(int dataBytes) {
    Bytes m = Hex("F0 41 00 00 23 12 08 01 1C");
    for (int i = 0; i < dataBytes; ++i) m.push_back(static_cast<uint8_t>(i % 16));
    m.push_back(SysExChecksum(0x25, std::span<const uint8_t>(m.data() + 9, static_cast<size_t>(dataBytes))));
    m.push_back(kSysExEnd);
    return m;
}

Bytes PatchDataNow() {
    return Slice(VF1MIDI::Instance().PatchData(), 0, kPatchDataSize);
}

int ElapsedMs(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count());
}

// The live parameter of a block with the given name.
VF1Param& ParamNamed(VF1Algorithm& algorithm, int block, const std::string& name) {
    for (VF1Param* p : algorithm.GetBlock(block)->LiveParams())
        if (p->GetName() == name) return *p;
    throw std::runtime_error("no parameter " + name);
}

class RealTimeEditsOn {
  public:
    RealTimeEditsOn() { SetRealTimeEdits(true); }
    ~RealTimeEditsOn() { SetRealTimeEdits(false); }
};

constexpr const char* kWrongPatchSize =
    "Didn't receive the right number of bytes for a Patch.  Cancelling reception.";
constexpr const char* kIncomprehensible =
    "Incomprehensible error!  midiOutLongMsg() returned OK and MOM_DONE was received, but the MIDIHDR's "
    "MHDR_DONE flagwasn't sent.  Attempting to ignore and continue...";

std::string OpenFailed(int rc) {
    return Format("Error opening MIDI output device - midiOutOpen() rc = %d.\n\nUnable to send MIDI "
                  "patch/parameter.  Make sure you've selected a valid MIDI Out Device.",
                  rc);
}
std::string CallFailed(const char* call, const char* what, const char* direction) {
    return Format(
        "Error in MIDI call %s.\n\nUnable to %s.  Make sure you've selected a valid MIDI %s Device.", call,
        what, direction);
}
std::string ReceptionFinishFailed(const char* call) {
    return Format("Error finishing MIDI reception, in call %s.  You may be unable to perform any more MIDI "
                  "transfers until you restart the program or your MIDI device.",
                  call);
}

// VF1MIDI on a recording driver, with scripted dialogs and recorded messages.
class Midi : public ::testing::Test {
  protected:
    void SetUp() override {
        VF1MIDI::Release();
        midi().SetDriver(&driver);
        midi().SetDialogs(&dialogs);
    }
    void TearDown() override {
        driver.WaitForReplies();
        midi().SetDriver(nullptr);
        VF1MIDI::Release();
    }
    static VF1MIDI& midi() { return VF1MIDI::Instance(); }

    // Answers every patch request with reply, delivered in the given pieces; the dialog stays
    // open until all of it has been delivered.
    void AnswerPatchRequests(const Bytes& reply, std::vector<size_t> pieces = {}) {
        driver.OnSend([this, reply, pieces](const Bytes& m) {
            if (m.size() == 14 && m[5] == kCommandRQ1 && m[10] == 0x03) driver.Reply(reply, pieces);
        });
        dialogs.whileOpen = [this] { driver.WaitForReplies(); };
    }

    // Patch data that a reception must not touch unless it succeeds.
    Bytes HoldSomePatch() {
        VF1Algorithm held(AlgorithmAtRow(3));
        held.SetName("Held");
        midi().SetPatchData(held);
        return PatchDataNow();
    }

    MessageRecorder messages;
    RecordingDriver driver;
    ScriptedTransfers dialogs;
};

} // namespace

// Requests, global data, single parameters and the terminator, byte for byte; the device ID
// goes into byte 2 (its low byte only).
TEST_F(Midi, SmallMessagesByteExact) {
    driver.OnSend([this](const Bytes& m) {
        if (m.size() == 14 && m[8] == 0x1C) driver.Reply(GlobalReply(24));
    });
    uint8_t global[24] = {};
    const uint8_t globalSet[24] = {0, 0, 3, 2, 0, 0, 1, 4, 0, 0, 3, 2, 0, 0, 0, 0, 0, 0, 7, 8, 0, 0, 0, 0};
    struct Case {
        const char* name;
        int deviceId;
        std::function<bool()> send;
        const char* expected;
    };
    const Case cases[] = {
        {"global request", 0, [&] { return midi().GetGlobal(global); },
         "F0 41 00 00 23 11 08 01 1C 00 00 18 43 F7"},
        {"edit buffer request", 0, [] { return midi().RequestPatch(false, false, 0); },
         "F0 41 00 00 23 11 10 00 00 00 03 1A 53 F7"},
        {"A2 request", 0, [] { return midi().RequestPatch(true, false, 1); },
         "F0 41 00 00 23 11 00 04 00 00 03 1A 5F F7"},
        {"B101 request", 0, [] { return midi().RequestPatch(true, true, 100); },
         "F0 41 00 00 23 11 07 10 00 00 03 1A 4C F7"},
        {"device 10H", 0x10, [] { return midi().RequestPatch(false, false, 0); },
         "F0 41 10 00 23 11 10 00 00 00 03 1A 53 F7"},
        {"device 110H keeps its low byte", 0x110, [] { return midi().RequestPatch(false, false, 0); },
         "F0 41 10 00 23 11 10 00 00 00 03 1A 53 F7"},
        {"global set", 0, [&] { return midi().SetGlobal(globalSet); },
         "F0 41 00 00 23 12 08 01 1C 00 00 03 02 00 00 01 04 00 00 03 02 00 00 00 00 00 00 07 08 00 00 00 00 "
         "3D F7"},
        {"8-bit parameter", 0, [] { return midi().SendParameter(0x0204, 0x19A, 2); },
         "F0 41 00 00 23 12 20 02 04 09 0A 47 F7"},
        {"16-bit parameter", 0x7F, [] { return midi().SendParameter(0x0030, 0x11234, 4); },
         "F0 41 7F 00 23 12 20 00 30 01 02 03 04 26 F7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        midi().SetDeviceID(c.deviceId);
        const size_t before = driver.Sent().size();
        EXPECT_TRUE(c.send());
        ASSERT_EQ(driver.Sent().size(), before + 1);
        EXPECT_EQ(driver.Sent().back(), Hex(c.expected));
    }
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(driver.Uses(Call::OpenOut), 1) << "the output stays open between sends";

    midi().SetDeviceID(0x05);
    uint8_t terminator[13] = {};
    midi().BuildTerminator(terminator);
    EXPECT_EQ(Slice(terminator, 0, 13), Hex("F0 41 05 00 23 12 70 00 00 00 00 10 F7"));
}

// A patch leaves as one long message of 423 bytes: the two halves of the patch data at the
// patch start and 164 further on, then the end message of the edit buffer or of memory.
TEST_F(Midi, SendPatchToEditBufferAndSlots) {
    struct Case {
        const char* name;
        bool toMemory;
        bool bankB;
        int index;
        const char* first;
        const char* second;
        const char* end;
    };
    const Case cases[] = {
        {"edit buffer", false, false, 0, "10 00 00", "10 01 24", "F0 41 05 00 23 12 60 00 00 00 00 20 F7"},
        {"A1", true, false, 0, "00 00 00", "00 01 24", "F0 41 05 00 23 12 70 00 00 00 00 10 F7"},
        {"A2", true, false, 1, "00 04 00", "00 05 24", "F0 41 05 00 23 12 70 00 00 00 00 10 F7"},
        {"A33", true, false, 32, "01 00 00", "01 01 24", "F0 41 05 00 23 12 70 00 00 00 00 10 F7"},
        {"B1", true, true, 0, "04 00 00", "04 01 24", "F0 41 05 00 23 12 70 00 00 00 00 10 F7"},
        {"B101", true, true, 100, "07 10 00", "07 11 24", "F0 41 05 00 23 12 70 00 00 00 00 10 F7"},
    };
    VF1Algorithm algorithm(AlgorithmAtRow(2));
    algorithm.SetName("Send me");
    midi().SetDeviceID(0x05);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        midi().SetPatchData(algorithm);
        const Bytes data = PatchDataNow();
        EXPECT_TRUE(midi().SendPatch(c.toMemory, c.bankB, c.index));
        const Bytes m = driver.Sent().back();
        ASSERT_EQ(m.size(), 423u);
        auto expectDT1 = [&](size_t at, const char* address, size_t from, size_t n) {
            EXPECT_EQ(Slice(m.data(), at, 9), Concat(Hex("F0 41 05 00 23 12"), Hex(address)));
            EXPECT_EQ(Slice(m.data(), at + 9, n), Slice(data.data(), from, n));
            const Bytes a = Hex(address);
            EXPECT_EQ(m[at + 9 + n], SysExChecksum(a[0] + a[1] + a[2], std::span(data.data() + from, n)));
            EXPECT_EQ(m[at + 10 + n], kSysExEnd);
        };
        expectDT1(0, c.first, 0, kHeaderHalfSize);
        expectDT1(175, c.second, kHeaderHalfSize, kStreamHalfSize);
        EXPECT_EQ(Slice(m.data(), 410, 13), Hex(c.end));
    }
    EXPECT_EQ(driver.Sent().size(), std::size(cases));
    EXPECT_TRUE(messages.Messages().empty());
}

// With real-time edits on, a parameter change goes out at 20 hi lo: the block's address plus the
// parameter's offset (180H..1FFH continuing at 200H), control assigns at their header offset + 36,
// and a module selector sends its whole block with the bytes it contributes to the patch data.
TEST_F(Midi, RealTimeEditsReachThePort) {
    VF1Algorithm algorithm(kDefaultAlgorithm); // Comp/Lim at 124H, ..., Delay at 16CH, Master
    RealTimeEditsOn on;
    struct Case {
        const char* name;
        int block;
        const char* param;
        int value;
        const char* expected;
    };
    const Case cases[] = {
        {"Comp/Lim Thrshld, offset 8", 0, "Thrshld", 0x2B, "F0 41 00 00 23 12 20 01 2C 02 0B 26 F7"},
        {"Delay Dly Time R, offset 20 from 16CH", 4, "Dly Time\nR", 0x35,
         "F0 41 00 00 23 12 20 02 00 03 05 56 F7"},
        {"Ctl 1 Src Type", 5, "Ctl 1 Src Type", 2, "F0 41 00 00 23 12 20 00 30 00 00 00 02 2E F7"},
        {"Ctl 3 On/Off at header offset 128", 5, "Ctl 3 On/Off", 1,
         "F0 41 00 00 23 12 20 01 00 00 00 00 01 5E F7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParamNamed(algorithm, c.block, c.param).SetValue(c.value);
        ASSERT_FALSE(driver.Sent().empty());
        EXPECT_EQ(driver.Sent().back(), Hex(c.expected));
    }
    const size_t sentBefore = driver.Sent().size();

    VF1Param& selector = ParamNamed(algorithm, 0, "FX Sel");
    ASSERT_TRUE(selector.IsSetSelector());
    selector.SetValue(selector.GetValue() == selector.GetMax() ? selector.GetMin() : selector.GetMax());
    ASSERT_EQ(driver.Sent().size(), sentBefore + 1);
    const Bytes block = driver.Sent().back();
    midi().SetPatchData(algorithm);
    const int n = static_cast<int>(block.size()) - 11;
    ASSERT_GT(n, 0);
    EXPECT_EQ(Slice(block.data(), 0, 9), Hex("F0 41 00 00 23 12 20 01 24"));
    EXPECT_EQ(Slice(block.data(), 9, static_cast<size_t>(n)), Slice(midi().PatchData(), kHeaderHalfSize, n));
    EXPECT_EQ(block[block.size() - 2],
              SysExChecksum(0x45, std::span(block.data() + 9, static_cast<size_t>(n))));
    EXPECT_TRUE(messages.Messages().empty());
}

// A bank leaves in 11 long messages of 20 patches (the last one 2 patches and the end message),
// each chunk reported to the progress dialog; a cancel stops after the chunk in progress and is
// no failure.
TEST_F(Midi, SendBankInChunksWithProgress) {
    const Bytes& bank = MakeBankFile();
    EXPECT_TRUE(midi().SendBank(bank.data()));
    const auto sent = driver.Sent();
    ASSERT_EQ(sent.size(), 11u);
    size_t at = 0;
    for (size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].size(), i < 10 ? 11700u : 1183u) << "chunk " << i;
        EXPECT_EQ(sent[i], Slice(bank.data(), at, sent[i].size())) << "chunk " << i;
        at += sent[i].size();
    }
    EXPECT_EQ(dialogs.progress, (std::vector<int>{20, 40, 60, 80, 100, 120, 140, 160, 180, 200, 202}));
    EXPECT_FALSE(dialogs.sendBankOpen);
    EXPECT_EQ(driver.Uses(Call::Unprepare), 11);
    EXPECT_TRUE(messages.Messages().empty());

    RecordingDriver second;
    midi().SetDriver(&second);
    dialogs.progress.clear();
    dialogs.cancelAfterChunks = 1;
    EXPECT_TRUE(midi().SendBank(bank.data()));
    EXPECT_EQ(second.Sent().size(), 1u);
    EXPECT_EQ(dialogs.progress, std::vector<int>{20});
    EXPECT_FALSE(dialogs.sendBankOpen);
    EXPECT_TRUE(messages.Messages().empty());
    midi().SetDriver(&driver);
}

// Replies of 410 and 598 bytes give the same patch data; any other count is refused and leaves
// the patch data as it was, as does a cancelled reception. A reply longer than the buffer is
// counted up to the buffer that crossed its end.
TEST_F(Midi, ReceivePatchReplies) {
    const PatchData unit = FreshPatchData(AlgorithmAtRow(5), "From unit");
    Bytes reply411 = Reply410(unit);
    reply411.insert(reply411.end() - 2, 0x00);
    Bytes reply597 = Reply598(unit);
    reply597.erase(reply597.end() - 3);
    struct Case {
        const char* name;
        Bytes reply;
        bool load;
        int result;
        int count;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"410", Reply410(unit), true, 410, 410, {}},
        {"598", Reply598(unit), true, 598, 598, {}},
        {"411", reply411, true, 0, 411, {kWrongPatchSize}},
        {"597", reply597, true, 0, 597, {kWrongPatchSize}},
        {"answered twice", Concat(Reply410(unit), Reply410(unit)), true, 0, 665, {kWrongPatchSize}},
        {"cancelled", Reply410(unit), false, -1, 410, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.Clear();
        const Bytes held = HoldSomePatch();
        AnswerPatchRequests(c.reply);
        dialogs.load = c.load;
        const uint8_t* first = nullptr;
        const uint8_t* second = nullptr;
        EXPECT_EQ(midi().ReceivePatch(&first, &second, false, false, 0), c.result);
        EXPECT_EQ(dialogs.countAtEnd, c.count);
        EXPECT_EQ(midi().ReceivedCount(), c.count) << "nothing counted after the buffer that crossed the end";
        EXPECT_EQ(messages.Messages(), c.messages);
        if (c.result > 0) {
            ASSERT_NE(first, nullptr);
            EXPECT_EQ(Slice(first, 0, kHeaderHalfSize), Slice(unit.data(), 0, kHeaderHalfSize));
            EXPECT_EQ(Slice(second, 0, kStreamHalfSize),
                      Slice(unit.data(), kHeaderHalfSize, kStreamHalfSize));
        } else {
            EXPECT_EQ(PatchDataNow(), held);
        }
        EXPECT_EQ(driver.Calls().back(), Call::CloseIn);
    }
    EXPECT_EQ(dialogs.opened, static_cast<int>(std::size(cases)));
}

// However the driver cuts the reply into pieces, the same bytes reach the patch data.
TEST_F(Midi, ReceivePatchInAnyPieces) {
    const PatchData unit = FreshPatchData(AlgorithmAtRow(9), "Pieces");
    const std::vector<std::vector<size_t>> cuts = {{}, {1}, {2}, {7, 13, 300}, {255}, {254, 3}, {597}};
    for (const auto& cut : cuts) {
        SCOPED_TRACE(testing::PrintToString(cut));
        HoldSomePatch();
        AnswerPatchRequests(Reply598(unit), cut);
        const uint8_t* first = nullptr;
        const uint8_t* second = nullptr;
        ASSERT_EQ(midi().ReceivePatch(&first, &second, true, false, 4), 598);
        EXPECT_EQ(Concat(Slice(first, 0, kHeaderHalfSize), Slice(second, 0, kStreamHalfSize)),
                  Bytes(unit.begin(), unit.end()));
    }
    EXPECT_TRUE(messages.Messages().empty());
}

// GetGlobal takes exactly 35 bytes; 34 (after its second of waiting) and 36 fail without a word
// and leave the destination alone.
TEST_F(Midi, GetGlobalTakesExactly35Bytes) {
    for (const int dataBytes : {24, 23, 25}) {
        SCOPED_TRACE(dataBytes);
        const Bytes reply = GlobalReply(dataBytes);
        driver.OnSend([this, reply](const Bytes&) { driver.Reply(reply, {1}); });
        uint8_t global[24];
        std::fill(std::begin(global), std::end(global), 0xEE);
        const bool ok = midi().GetGlobal(global);
        EXPECT_EQ(ok, dataBytes == 24);
        EXPECT_EQ(Slice(global, 0, 24), ok ? Slice(reply.data(), 9, 24) : Bytes(24, 0xEE));
        EXPECT_TRUE(messages.Messages().empty());
        driver.WaitForReplies();
    }
}

// A bank dump is accepted with or without its end message and refused when short or cancelled.
// A destination smaller than the dump keeps exactly its capacity; buffers arriving once it is
// full are neither stored, counted nor requeued.
TEST_F(Midi, ReceiveBank) {
    const Bytes& bank = MakeBankFile();
    struct Case {
        const char* name;
        size_t length;
        bool load;
        int capacity;
        int result;
    };
    const Case cases[] = {
        {"with end message", kBankFileSize, true, kBankReceiveCapacity, kBankFileSize},
        {"images only", kBankImagesSize, true, kBankReceiveCapacity, kBankImagesSize},
        {"201 images", kBankImagesSize - kPatchImageSize, true, kBankReceiveCapacity, -1},
        {"cancelled", kBankFileSize, false, kBankReceiveCapacity, -1},
        {"small destination", kBankFileSize, true, 1000, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes dump(bank.begin(), bank.begin() + static_cast<long>(c.length));
        dialogs.load = c.load;
        Bytes destination(kBankReceiveCapacity, 0xEE);
        dialogs.waitForBytes = static_cast<int>(std::min<size_t>(c.length, static_cast<size_t>(c.capacity)));
        dialogs.onOpen = [&] { driver.Reply(dump, {4096}); };
        dialogs.whileOpen = [&] { driver.WaitForReplies(); };
        const int addBefore = driver.Uses(Call::AddBuffer);
        EXPECT_EQ(midi().ReceiveBank(destination.data(), c.capacity), c.result);
        EXPECT_EQ(dialogs.expectedBytes, kBankImagesSize);
        const size_t stored = std::min(c.length, static_cast<size_t>(c.capacity));
        EXPECT_EQ(Slice(destination.data(), 0, stored), Slice(dump.data(), 0, stored));
        EXPECT_TRUE(std::all_of(destination.begin() + static_cast<long>(stored), destination.end(),
                                [](uint8_t b) { return b == 0xEE; }));
        if (c.capacity == 1000) {
            // Messages of 175, 255, 155, 175, 255 bytes: the fifth buffer crosses 1000 and is the
            // last one counted and requeued.
            EXPECT_EQ(midi().ReceivedCount(), 1015);
            EXPECT_EQ(driver.Uses(Call::AddBuffer) - addBefore, 16 + 5);
        }
    }
    EXPECT_TRUE(messages.Messages().empty());
}

// Each reception sets up its buffers and tears down in its own order.
TEST_F(Midi, ReceptionFrames) {
    auto repeat = [](int n, Call call) { return std::vector<Call>(static_cast<size_t>(n), call); };
    auto frame = [&](int buffers, std::vector<Call> teardown) {
        std::vector<Call> calls{Call::OpenIn};
        for (int i = 0; i < buffers; ++i) calls.insert(calls.end(), {Call::PrepareIn, Call::AddBuffer});
        calls.push_back(Call::StartIn);
        calls.insert(calls.end(), teardown.begin(), teardown.end());
        calls.push_back(Call::CloseIn);
        return calls;
    };
    struct Case {
        const char* name;
        std::function<void()> run;
        std::vector<Call> calls;
    };
    uint8_t global[24];
    Bytes destination(kBankReceiveCapacity);
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    const Case cases[] = {
        {"GetGlobal", [&] { midi().GetGlobal(global); },
         frame(1, {Call::ResetIn, Call::UnprepareIn, Call::StopIn})},
        {"ReceivePatch", [&] { midi().ReceivePatch(&first, &second, false, false, 0); },
         frame(4, Concat(std::vector<Call>{Call::ResetIn, Call::StopIn}, repeat(4, Call::UnprepareIn)))},
        {"ReceiveBank", [&] { midi().ReceiveBank(destination.data(), kBankReceiveCapacity); },
         frame(16, Concat(std::vector<Call>{Call::ResetIn, Call::StopIn}, repeat(16, Call::UnprepareIn)))},
    };
    dialogs.load = false;
    dialogs.timeoutMs = 0;
    // Only the input calls: GetGlobal and ReceivePatch also send their request.
    auto inputCalls = [this] {
        std::vector<Call> calls;
        for (Call c : driver.Calls())
            if (c >= Call::OpenIn) calls.push_back(c);
        return calls;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = inputCalls().size();
        c.run();
        const auto calls = inputCalls();
        EXPECT_EQ(std::vector<Call>(calls.begin() + static_cast<long>(before), calls.end()), c.calls);
    }
}

// A driver call that fails ends the transaction with one message naming the call and its result
// code; a reception that fails leaves the patch data alone and still closes its input.
TEST_F(Midi, FailedCallsAreReportedOnce) {
    enum class Op { Parameter, Global, Patch, BankIn, BankOut };
    struct Case {
        const char* name;
        Call call;
        int rc;
        int fromUse;
        Op transaction;
        std::string message;
    };
    const Case cases[] = {
        {"output can't open", Call::OpenOut, 4, 1, Op::Parameter, OpenFailed(4)},
        {"prepare", Call::Prepare, 7, 1, Op::Parameter,
         CallFailed("midiOutPrepareHeader(), rc = 7", "send MIDI patch/parameter", "Out")},
        {"long message", Call::Send, 11, 1, Op::Parameter,
         CallFailed("midiOutLongMsg(), rc = 11", "send MIDI patch/parameter", "Out")},
        {"unprepare", Call::Unprepare, 5, 1, Op::Parameter,
         "Error finishing MIDI send, in call midiOutUnprepareHeader().  You may be unable to perform any "
         "more MIDI transfers until you restart the program or your MIDI device."},
        {"bank prepare", Call::Prepare, 7, 3, Op::BankOut,
         CallFailed("midiOutPrepareHeader(), rc = 7", "send bank", "Out")},
        {"bank long message", Call::Send, 6, 2, Op::BankOut,
         CallFailed("midiOutLongMsg(), rc = 6", "send bank", "Out")},
        {"global, input can't open", Call::OpenIn, 2, 1, Op::Global,
         CallFailed("midiInOpen(), rc = 2", "receive Global info", "In")},
        {"global, output can't open", Call::OpenOut, 2, 1, Op::Global, OpenFailed(2)},
        {"patch, input can't open", Call::OpenIn, 2, 1, Op::Patch,
         CallFailed("midiInOpen(), rc = 2", "receive patch", "In")},
        {"patch, prepare", Call::PrepareIn, 7, 2, Op::Patch,
         CallFailed("midiInPrepareHeader(), rc = 7", "receive patch", "In")},
        {"patch, add buffer", Call::AddBuffer, 7, 1, Op::Patch,
         CallFailed("midiInAddBuffer(), rc = 7", "receive patch", "In")},
        {"bank, start", Call::StartIn, 1, 1, Op::BankIn,
         CallFailed("midiInStart(), rc = 1", "receive bank", "In")},
        {"patch, reset", Call::ResetIn, 5, 1, Op::Patch, ReceptionFinishFailed("midiInReset()")},
        {"patch, stop", Call::StopIn, 5, 1, Op::Patch, ReceptionFinishFailed("midiInStop()")},
        {"patch, unprepare", Call::UnprepareIn, 5, 1, Op::Patch,
         ReceptionFinishFailed("midiInUnPrepareHeader()")},
        {"bank, unprepare", Call::UnprepareIn, 5, 1, Op::BankIn,
         ReceptionFinishFailed("midiInUnprepareHeader()")},
        {"global, unprepare", Call::UnprepareIn, 5, 1, Op::Global,
         ReceptionFinishFailed("midiInUnprepareHeader()")},
        {"global, close", Call::CloseIn, 5, 1, Op::Global, ReceptionFinishFailed("midiInClose()")},
    };
    const PatchData unit = FreshPatchData(AlgorithmAtRow(7), "Unit");
    const Bytes& bank = MakeBankFile();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingDriver failing;
        midi().SetDriver(&failing);
        messages.Clear();
        failing.Fail(c.call, c.rc, c.fromUse);
        // The unit answers everything in full, so that only the failing call can spoil the transfer.
        failing.OnSend([&](const Bytes& m) {
            if (m.size() == 14) failing.Reply(m[8] == 0x1C ? GlobalReply(24) : Reply410(unit));
        });
        dialogs.whileOpen = [&] { failing.WaitForReplies(); };
        const Bytes held = HoldSomePatch();
        uint8_t global[24] = {};
        Bytes destination(kBankReceiveCapacity);
        const uint8_t* first = nullptr;
        const uint8_t* second = nullptr;
        bool ok = true;
        switch (c.transaction) {
        case Op::Parameter:
            ok = midi().SendParameter(0x124, 1, 2);
            break;
        case Op::Global:
            ok = midi().GetGlobal(global);
            break;
        case Op::Patch:
            ok = midi().ReceivePatch(&first, &second, false, false, 0) > 0;
            break;
        case Op::BankIn:
            dialogs.onOpen = [&] { failing.Reply(bank); };
            ok = midi().ReceiveBank(destination.data(), kBankReceiveCapacity) > 0;
            dialogs.onOpen = nullptr;
            break;
        case Op::BankOut:
            ok = midi().SendBank(bank.data());
            break;
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(messages.Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(PatchDataNow(), held);
        if (c.call > Call::OpenIn) {
            EXPECT_EQ(failing.Calls().back(), Call::CloseIn);
        }
        failing.WaitForReplies();
        midi().SetDriver(&driver);
    }
}

// A buffer the driver won't take back is reported once the reception has ended; the reception
// goes on with the buffers it still has.
TEST_F(Midi, RequeueFailureIsReportedAtTheEnd) {
    const PatchData unit = FreshPatchData(AlgorithmAtRow(11), "Requeue");
    driver.Fail(Call::AddBuffer, 7, 5);
    AnswerPatchRequests(Reply410(unit));
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    EXPECT_EQ(midi().ReceivePatch(&first, &second, false, false, 0), 410);
    EXPECT_EQ(
        messages.Messages(),
        std::vector<std::string>{
            "Error while reallocating MIDI input buffer to the pool.  midiInAddBuffer() rc = 7.  The MIDI "
            "receive operation may fail.You may be unable to perform any more MIDI transfers until you "
            "restart the program or your MIDI device."});
}

// Selecting the same output keeps it open; another one closes it first. Devices that can't be
// opened are reported with the open call's result code and nothing is sent.
TEST_F(Midi, OutputDevices) {
    EXPECT_EQ(midi().GetNumOutDevs(), 2);
    EXPECT_EQ(midi().GetOutDevNames(), (std::vector<std::string>{"Test Out", "Invalid Device"}));
    EXPECT_EQ(midi().GetInDevNames(), (std::vector<std::string>{"Test In", "Invalid Device"}));

    EXPECT_TRUE(midi().SendParameter(0x124, 1, 2));
    midi().SetOutDevice(0);
    EXPECT_TRUE(midi().IsOutputOpen());
    EXPECT_EQ(driver.Uses(Call::CloseOut), 0);
    midi().SetOutDevice(1);
    EXPECT_FALSE(midi().IsOutputOpen());
    EXPECT_EQ(driver.Uses(Call::CloseOut), 1);

    for (const unsigned device : {1u, 9u}) {
        SCOPED_TRACE(device);
        messages.Clear();
        midi().SetOutDevice(device);
        EXPECT_FALSE(midi().SendParameter(0x124, 1, 2));
        EXPECT_EQ(messages.Messages(), std::vector<std::string>{OpenFailed(kMidiErrBadDevice)});
    }
    messages.Clear();
    midi().SetDriver(nullptr);
    EXPECT_FALSE(midi().SendParameter(0x124, 1, 2));
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{OpenFailed(kMidiErrBadDevice)});
    EXPECT_EQ(driver.Sent().size(), 1u);
}

// The LFO shares the output: a running one is stopped, and the output opens only once its
// stream has let go.
TEST_F(Midi, OpenOutputStopsTheLfoFirst) {
    struct Lfo : LfoControl {
        explicit Lfo(RecordingDriver& d) : driver(d) {}
        bool IsRunning() override { return running; }
        void Stop() override { running = false; }
        bool StreamBusy() override {
            openedTooEarly = openedTooEarly || driver.Uses(Call::OpenOut) > 0;
            return --busyPolls > 0;
        }
        RecordingDriver& driver;
        bool running = true;
        int busyPolls = 3;
        bool openedTooEarly = false;
    } lfo(driver);
    midi().SetLFODialog(&lfo);
    EXPECT_TRUE(midi().SendParameter(0x124, 1, 2));
    EXPECT_FALSE(lfo.running);
    EXPECT_EQ(lfo.busyPolls, 0);
    EXPECT_FALSE(lfo.openedTooEarly);
    EXPECT_EQ(driver.Uses(Call::OpenOut), 1);
    midi().SetLFODialog(nullptr);
}

// The wait for the done notice: at least the settle time after a prompt notice, the limit when
// none comes (then the warning, and the message is still taken back).
TEST_F(Midi, DoneNoticeWaits) {
    using Done = RecordingDriver::Done;
    struct Case {
        const char* name;
        Done done;
        int delayMs;
        bool longWait;
        int atLeastMs;
        int belowMs;
        bool warned;
    };
    const Case cases[] = {
        {"prompt, short", Done::Immediate, 0, false, 10, 1000, false},
        {"prompt, long", Done::Immediate, 0, true, 50, 1500, false},
        {"late, short", Done::Delayed, 40, false, 40, 1000, false},
        {"never, short", Done::Never, 0, false, 100, 1000, true},
        {"never, long", Done::Never, 0, true, 500, 2500, true},
        {"notice without done bit", Done::NoticeOnly, 0, false, 10, 1000, true},
    };
    EXPECT_TRUE(midi().OpenOutput());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.Clear();
        driver.SetDone(c.done, c.delayMs);
        const int unprepared = driver.Uses(Call::Unprepare);
        bool ok = false;
        const int ms = ElapsedMs(
            [&] { ok = c.longWait ? midi().SendPatch(false, false, 0) : midi().SendParameter(0x124, 1, 2); });
        EXPECT_TRUE(ok);
        EXPECT_GE(ms, c.atLeastMs);
        EXPECT_LT(ms, c.belowMs);
        EXPECT_EQ(messages.Messages(),
                  c.warned ? std::vector<std::string>{kIncomprehensible} : std::vector<std::string>{});
        EXPECT_EQ(driver.Uses(Call::Unprepare), unprepared + 1);
    }
}

// A device that goes away ends a bank send at the next chunk and a reception at its teardown,
// within the transactions' own limits, with one message; the patch data held stays.
TEST_F(Midi, DeviceGoesAway) {
    const Bytes& bank = MakeBankFile();
    {
        RecordingDriver leaving;
        midi().SetDriver(&leaving);
        int chunks = 0;
        leaving.OnSend([&](const Bytes&) {
            if (++chunks == 3) leaving.Unplug();
        });
        bool ok = true;
        const int ms = ElapsedMs([&] { ok = midi().SendBank(bank.data()); });
        EXPECT_FALSE(ok);
        EXPECT_LT(ms, 3000);
        EXPECT_EQ(dialogs.progress, (std::vector<int>{20, 40, 60}));
        EXPECT_FALSE(dialogs.sendBankOpen);
        EXPECT_EQ(messages.Messages(),
                  std::vector<std::string>{CallFailed("midiOutPrepareHeader(), rc = 6", "send bank", "Out")});
        midi().SetDriver(&driver);
    }

    struct Case {
        const char* name;
        bool bank;
        bool load;
    };
    const Case cases[] = {
        {"patch, Load", false, true}, {"patch, Cancel", false, false}, {"bank, Load", true, true}};
    const PatchData unit = FreshPatchData(AlgorithmAtRow(13), "Gone");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingDriver leaving;
        midi().SetDriver(&leaving);
        messages.Clear();
        const Bytes held = HoldSomePatch();
        // Part of the answer arrives, then the cable is pulled.
        const Bytes part = c.bank ? Slice(bank.data(), 0, 5850) : Slice(Reply410(unit).data(), 0, 255);
        if (c.bank) dialogs.onOpen = [&] { leaving.Reply(part, {1000}); };
        else leaving.OnSend([&](const Bytes&) { leaving.Reply(part, {100}); });
        dialogs.waitForBytes = static_cast<int>(part.size());
        dialogs.whileOpen = [&] { leaving.Unplug(); };
        dialogs.load = c.load;
        Bytes destination(kBankReceiveCapacity);
        const uint8_t* first = nullptr;
        const uint8_t* second = nullptr;
        int result = 1;
        const int ms = ElapsedMs([&] {
            result = c.bank ? midi().ReceiveBank(destination.data(), kBankReceiveCapacity)
                            : midi().ReceivePatch(&first, &second, false, false, 0);
        });
        EXPECT_EQ(result, c.bank ? -1 : 0);
        EXPECT_LT(ms, 3000);
        EXPECT_EQ(dialogs.countAtEnd, static_cast<int>(part.size()));
        EXPECT_EQ(messages.Messages(), std::vector<std::string>{ReceptionFinishFailed("midiInReset()")});
        EXPECT_EQ(PatchDataNow(), held);
        leaving.WaitForReplies();
        dialogs.onOpen = nullptr;
        midi().SetDriver(&driver);
    }
}

// The input's gathering on its own: however the bytes arrive, each buffer comes back at the end
// of a message or when full, holding what it would hold had the bytes come one at a time.
// Bytes outside a message and real-time bytes inside one are dropped.
TEST(MidiInputQueue, GathersTheSameBuffersFromAnyPieces) {
    auto message = [](size_t size, uint8_t fill) {
        Bytes m(size, fill);
        m.front() = kSysExStart;
        m.back() = kSysExEnd;
        return m;
    };
    const Bytes m175 = message(175, 0x11), m255 = message(255, 0x22), m300 = message(300, 0x33),
                m13 = message(13, 0x44);
    Bytes stream = Hex("90 40 7F FE");
    for (const Bytes* m : {&m175, &m255, &m300, &m13}) stream.insert(stream.end(), m->begin(), m->end());
    stream.insert(stream.begin() + 4 + 175 + 100, 0xF8); // a clock tick inside the second message
    const std::vector<Bytes> expected = {m175, m255, Slice(m300.data(), 0, 255), Slice(m300.data(), 255, 45),
                                         m13};

    const std::vector<std::vector<size_t>> cuts = {{}, {1}, {2}, {7, 13, 300}, {255}, {256}, {1000}};
    for (const auto& cut : cuts) {
        SCOPED_TRACE(testing::PrintToString(cut));
        std::vector<Bytes> handedBack;
        MidiInputQueue queue;
        queue.Open([&](int notice, MidiInBuffer* b) {
            if (notice == kMidiInLongData)
                handedBack.push_back(Slice(b->data.data(), 0, static_cast<size_t>(b->bytesRecorded.load())));
        });
        std::array<MidiInBuffer, 6> buffers;
        for (auto& b : buffers) {
            ASSERT_EQ(queue.Prepare(b), kMidiOk);
            ASSERT_EQ(queue.Add(b), kMidiOk);
        }
        ASSERT_EQ(queue.Start(), kMidiOk);
        size_t at = 0;
        for (size_t k = 0; at < stream.size(); ++k) {
            const size_t n = cut.empty() ? stream.size() : std::min(cut[k % cut.size()], stream.size() - at);
            queue.Deliver(stream.data() + at, n);
            at += n;
        }
        EXPECT_EQ(handedBack, expected);
        EXPECT_EQ(queue.QueuedCount(), 1u);
        queue.Close();
    }
}

// Bytes that find no queued buffer are lost; a reset hands back every queued buffer, also one
// half filled, with 0 bytes.
TEST(MidiInputQueue, LosesBytesWithoutBufferAndResetHandsBackAll) {
    std::vector<int> counts;
    MidiInputQueue queue;
    queue.Open([&](int notice, MidiInBuffer* b) {
        if (notice == kMidiInLongData) counts.push_back(b->bytesRecorded.load());
    });
    std::array<MidiInBuffer, 3> buffers;
    for (auto& b : buffers) queue.Prepare(b);
    queue.Add(buffers[0]);
    queue.Start();
    const Bytes two = Hex("F0 01 02 F7 F0 03 04 05 F7");
    queue.Deliver(two.data(), two.size());
    EXPECT_EQ(counts, std::vector<int>{4});
    EXPECT_EQ(queue.Add(buffers[0]), kMidiOk);
    EXPECT_EQ(queue.Add(buffers[0]), kMidiErrStillPlaying);
    queue.Add(buffers[1]);
    queue.Add(buffers[2]);
    const Bytes half = Hex("F0 01 02 03");
    queue.Deliver(half.data(), half.size());
    EXPECT_EQ(queue.Unprepare(buffers[0]), kMidiErrStillPlaying);
    counts.clear();
    EXPECT_EQ(queue.Reset(), kMidiOk);
    EXPECT_EQ(counts, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(queue.QueuedCount(), 0u);
    for (auto& b : buffers) EXPECT_EQ(queue.Unprepare(b), kMidiOk);
    EXPECT_EQ(queue.Close(), kMidiOk);
}

namespace {

// VF1MIDI on the built-in virtual unit, answering as fast as it can.
class VirtualUnitMidi : public ::testing::Test {
  protected:
    void SetUp() override {
        VF1MIDI::Release();
        system.Virtual().SetPacing(0);
        midi().SetDriver(&system);
        midi().SetDialogs(&dialogs);
        dialogs.timeoutMs = 10000;
    }
    void TearDown() override {
        midi().SetDriver(nullptr);
        VF1MIDI::Release();
    }
    static VF1MIDI& midi() { return VF1MIDI::Instance(); }
    VirtualUnit& unit() { return system.Virtual().Unit(); }

    MessageRecorder messages;
    MidiSystem system{false};
    ScriptedTransfers dialogs;
};

Bytes DataBytes(const PatchData& data) {
    return Bytes(data.begin(), data.end());
}

} // namespace

TEST_F(VirtualUnitMidi, PatchesGoInAndComeBack) {
    EXPECT_EQ(midi().GetOutDevNames(), std::vector<std::string>{"Quellin virtual VF-1"});
    EXPECT_EQ(midi().GetInDevNames(), std::vector<std::string>{"Quellin virtual VF-1"});
    struct Case {
        const char* name;
        bool toMemory;
        bool bankB;
        int index;
        int slot;
    };
    const Case cases[] = {{"edit buffer", false, false, 0, -1},
                          {"A1", true, false, 0, 0},
                          {"A57", true, false, 56, 56},
                          {"B101", true, true, 100, 201}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VF1Algorithm algorithm(AlgorithmAtRow((c.slot + 38) % kAlgorithmCount));
        algorithm.SetName(c.name);
        midi().SetPatchData(algorithm);
        const Bytes sent = PatchDataNow();
        ASSERT_TRUE(midi().SendPatch(c.toMemory, c.bankB, c.index));
        EXPECT_EQ(DataBytes(unit().Patch(c.slot)), sent);

        // What the unit holds comes back through a request.
        const PatchData other = FreshPatchData(AlgorithmAtRow((c.slot + 50) % kAlgorithmCount), "Other");
        unit().SetPatch(c.slot, other);
        dialogs.waitForBytes = 410;
        const uint8_t* first = nullptr;
        const uint8_t* second = nullptr;
        ASSERT_EQ(midi().ReceivePatch(&first, &second, c.toMemory, c.bankB, c.index), 410);
        EXPECT_EQ(Concat(Slice(first, 0, kHeaderHalfSize), Slice(second, 0, kStreamHalfSize)),
                  DataBytes(other));
    }
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(unit().BadMessages(), 0);
}

TEST_F(VirtualUnitMidi, GlobalRoundTrip) {
    uint8_t global[24] = {};
    ASSERT_TRUE(midi().GetGlobal(global));
    const auto held = unit().Global();
    EXPECT_EQ(Slice(global, 0, 24), Bytes(held.begin(), held.end()));
    for (int i = 0; i < 24; ++i) global[i] = static_cast<uint8_t>((i * 5) & 0x0F);
    ASSERT_TRUE(midi().SetGlobal(global));
    uint8_t back[24] = {};
    ASSERT_TRUE(midi().GetGlobal(back));
    EXPECT_EQ(Slice(back, 0, 24), Slice(global, 0, 24));
    EXPECT_TRUE(messages.Messages().empty());
}

// A bank sent to the unit comes back byte for byte when the unit dumps it.
TEST_F(VirtualUnitMidi, BankRoundTrip) {
    const Bytes& bank = MakeBankFile();
    ASSERT_TRUE(midi().SendBank(bank.data()));
    EXPECT_EQ(unit().GoodMessages(), 202 * 3 + 1);
    system.Virtual().SetDumpDelayMs(50);
    dialogs.waitForBytes = kBankFileSize;
    Bytes destination(kBankReceiveCapacity, 0);
    ASSERT_EQ(midi().ReceiveBank(destination.data(), kBankReceiveCapacity), kBankFileSize);
    destination.resize(kBankFileSize);
    EXPECT_EQ(destination, bank);
    EXPECT_TRUE(messages.Messages().empty());
}

// Real-time edits land in the unit's edit buffer where the patch data holds them.
TEST_F(VirtualUnitMidi, RealTimeEditsUpdateTheEditBuffer) {
    VF1Algorithm algorithm(kDefaultAlgorithm);
    midi().SetPatchData(algorithm);
    ASSERT_TRUE(midi().SendPatch(false, false, 0));
    {
        RealTimeEditsOn on;
        ParamNamed(algorithm, 0, "Thrshld").SetValue(0x2B);
        ParamNamed(algorithm, 4, "Dly Time\nR").SetValue(0x35);
        ParamNamed(algorithm, 5, "Master Lvl").SetValue(0x40);
        ParamNamed(algorithm, 5, "Ctl 1 Src Type").SetValue(2);
        ParamNamed(algorithm, 5, "Ctl 3 On/Off").SetValue(1);
        VF1Param& selector = ParamNamed(algorithm, 0, "FX Sel");
        selector.SetValue(selector.GetValue() == selector.GetMax() ? selector.GetMin() : selector.GetMax());
    }
    midi().SetPatchData(algorithm);
    EXPECT_EQ(DataBytes(unit().Patch(-1)), PatchDataNow());
    EXPECT_EQ(unit().BadMessages(), 0);
    EXPECT_TRUE(messages.Messages().empty());
}

// The unit counts what it received: a wrong checksum or another device ID is a bad message.
TEST_F(VirtualUnitMidi, UnitCountsGoodAndBadMessages) {
    ASSERT_TRUE(midi().SendParameter(0x124, 1, 2));
    EXPECT_EQ(unit().GoodMessages(), 1);
    EXPECT_EQ(unit().BadMessages(), 0);
    const PatchData before = unit().Patch(-1);

    const Bytes wrongChecksum = Hex("F0 41 00 00 23 12 20 01 24 00 05 00 F7");
    unit().Receive(wrongChecksum.data(), wrongChecksum.size());
    midi().SetDeviceID(0x11);
    ASSERT_TRUE(midi().SendParameter(0x124, 5, 2));
    EXPECT_EQ(unit().GoodMessages(), 1);
    EXPECT_EQ(unit().BadMessages(), 2);
    EXPECT_EQ(unit().Patch(-1), before) << "bad messages change nothing";
}
