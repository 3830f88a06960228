// The virtual unit's receiver: any bytes from the wire, in pieces the first input byte chooses.
// Every message it takes in is counted once, good or bad; it answers what it answers and never
// stores a message a status byte cut short.

#include <algorithm>
#include <vector>

#include "midi/drivers/VirtualUnit.h"
#include "model/SysEx.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// One unit for the whole run (building its memory takes long); each input starts from the same
// memory.
VirtualUnit& Unit() {
    static VirtualUnit unit([](const uint8_t*, size_t) {}, 0);
    return unit;
}

const std::vector<uint8_t>& StartingMemory() {
    static const std::vector<uint8_t> bank = Unit().BankFile();
    return bank;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    VirtualUnit& unit = Unit();
    FUZZ_CHECK(unit.LoadBankFile(StartingMemory()));
    // Ends a message the last input left open.
    const uint8_t end = kSysExEnd;
    unit.Receive(&end, 1);

    int messages = 0;
    int cutShort = 0;
    unit.SetListener([&](const VirtualUnit::Received& r) {
        // Control Changes between the exclusive messages are counted apart.
        if (r.controller) return;
        ++messages;
        if (r.endedBy != 0) {
            ++cutShort;
            FUZZ_CHECK(!r.frameOk && !r.checksumOk);
        }
    });
    const int before = unit.GoodMessages() + unit.BadMessages();
    const size_t piece = 1 + data[0] % 64;
    for (size_t at = 1; at < size; at += piece) unit.Receive(data + at, std::min(piece, size - at));
    unit.Flush();
    unit.SetListener(nullptr);
    FUZZ_CHECK(unit.GoodMessages() + unit.BadMessages() - before == messages);
    FUZZ_CHECK(cutShort <= messages);
    return 0;
}
