// The input half every driver shares: bytes from the wire gathered into the buffers a reception
// queued. The first input byte chooses how the rest arrives in pieces; whatever the pieces, the
// buffers come back exactly as they do when the same bytes arrive one at a time.

#include <array>
#include <vector>

#include "midi/drivers/MidiInputQueue.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using Buffers = std::vector<std::vector<uint8_t>>;

// Delivers bytes in pieces of the given sizes (repeated) to a queue of four buffers that are given
// back as soon as they return, as a reception does; the buffers' bytes in the order they returned.
Buffers Gather(const uint8_t* bytes, size_t n, const std::vector<size_t>& pieces) {
    Buffers returned;
    MidiInputQueue queue;
    std::array<MidiInBuffer, 4> buffers;
    queue.Open([&](int notice, MidiInBuffer* b) {
        if (notice != kMidiInLongData) return;
        const int count = b->bytesRecorded.load();
        FUZZ_CHECK(count >= 0 && count <= static_cast<int>(kMidiInBufferSize));
        returned.emplace_back(b->data.begin(), b->data.begin() + count);
        if (count > 0) queue.Add(*b);
    });
    for (auto& b : buffers) {
        queue.Prepare(b);
        queue.Add(b);
    }
    queue.Start();
    for (size_t at = 0, k = 0; at < n; ++k) {
        const size_t piece = std::min(pieces[k % pieces.size()], n - at);
        queue.Deliver(bytes + at, piece);
        at += piece;
    }
    queue.Reset();
    queue.Close();
    return returned;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t shape = data[0];
    std::vector<size_t> pieces = {static_cast<size_t>(1 + (shape & 0x0F)),
                                  static_cast<size_t>(1 + (shape >> 4) * 37)};
    FUZZ_CHECK(Gather(data + 1, size - 1, pieces) == Gather(data + 1, size - 1, {1}));
    return 0;
}
