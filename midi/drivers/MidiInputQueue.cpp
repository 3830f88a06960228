#include "midi/drivers/MidiInputQueue.h"

#include <algorithm>

#include "model/SysEx.h"

void MidiInputQueue::Open(MidiInputDriver::Callback cb) {
    {
        std::scoped_lock lock(deliverMutex, mutex);
        callback = std::move(cb);
        queue.clear();
        current = nullptr;
        fill = 0;
        inSysEx = false;
        started = false;
        open = true;
    }
    if (callback) callback(kMidiInOpen, nullptr);
}

bool MidiInputQueue::IsOpen() const {
    std::lock_guard lock(mutex);
    return open;
}

size_t MidiInputQueue::QueuedCount() const {
    std::lock_guard lock(mutex);
    return queue.size();
}

int MidiInputQueue::Prepare(MidiInBuffer& buffer) {
    std::lock_guard lock(mutex);
    if (!open) return kMidiErrInvalidHandle;
    if (buffer.length == 0 || buffer.length > kMidiInBufferSize) return kMidiErrInvalidParam;
    buffer.prepared = true;
    return kMidiOk;
}

int MidiInputQueue::Add(MidiInBuffer& buffer) {
    std::lock_guard lock(mutex);
    if (!open) return kMidiErrInvalidHandle;
    if (!buffer.prepared) return kMidiErrUnprepared;
    if (std::find(queue.begin(), queue.end(), &buffer) != queue.end() || current == &buffer)
        return kMidiErrStillPlaying;
    buffer.bytesRecorded.store(0, std::memory_order_relaxed);
    queue.push_back(&buffer);
    return kMidiOk;
}

int MidiInputQueue::Start() {
    std::lock_guard lock(mutex);
    if (!open) return kMidiErrInvalidHandle;
    started = true;
    return kMidiOk;
}

int MidiInputQueue::Stop() {
    std::lock_guard lock(mutex);
    if (!open) return kMidiErrInvalidHandle;
    started = false;
    return kMidiOk;
}

int MidiInputQueue::Reset() {
    std::lock_guard deliverLock(deliverMutex);
    std::deque<MidiInBuffer*> returned;
    {
        std::lock_guard lock(mutex);
        if (!open) return kMidiErrInvalidHandle;
        started = false;
        if (current) returned.push_back(current);
        for (MidiInBuffer* b : queue) returned.push_back(b);
        queue.clear();
        current = nullptr;
        fill = 0;
        inSysEx = false;
    }
    for (MidiInBuffer* b : returned) HandBack(b, 0);
    return kMidiOk;
}

int MidiInputQueue::Unprepare(MidiInBuffer& buffer) {
    std::lock_guard lock(mutex);
    if (!open) return kMidiErrInvalidHandle;
    if (std::find(queue.begin(), queue.end(), &buffer) != queue.end() || current == &buffer)
        return kMidiErrStillPlaying;
    buffer.prepared = false;
    return kMidiOk;
}

int MidiInputQueue::Close() {
    MidiInputDriver::Callback cb;
    {
        std::scoped_lock lock(deliverMutex, mutex);
        if (!open) return kMidiErrInvalidHandle;
        // Buffers still queued are simply forgotten: the caller owns them.
        queue.clear();
        current = nullptr;
        started = false;
        open = false;
        cb = std::move(callback);
        callback = nullptr;
    }
    if (cb) cb(kMidiInClose, nullptr);
    return kMidiOk;
}

MidiInBuffer* MidiInputQueue::TakeBuffer() {
    std::lock_guard lock(mutex);
    if (!started || queue.empty()) return nullptr;
    MidiInBuffer* b = queue.front();
    queue.pop_front();
    current = b;
    fill = 0;
    return b;
}

void MidiInputQueue::HandBack(MidiInBuffer* buffer, int bytes) {
    buffer->bytesRecorded.store(bytes, std::memory_order_release);
    if (callback) callback(kMidiInLongData, buffer);
}

void MidiInputQueue::Deliver(const uint8_t* bytes, size_t n) {
    std::lock_guard deliverLock(deliverMutex);
    {
        std::lock_guard lock(mutex);
        if (!open || !started) return;
    }
    for (size_t i = 0; i < n; ++i) {
        const uint8_t b = bytes[i];
        const SysExByte role = ClassifySysExByte(b, inSysEx);
        if (role == SysExByte::Skip) continue;
        if (role == SysExByte::Interrupt) {
            // A status byte ends a message that never saw its F7; the bytes so far stay delivered.
            inSysEx = false;
            continue;
        }
        if (role == SysExByte::Start) inSysEx = true;
        if (current == nullptr && TakeBuffer() == nullptr) {
            // No buffer queued: the byte is lost, as it would be on the wire.
            if (b == kSysExEnd) inSysEx = false;
            continue;
        }
        current->data[fill++] = b;
        const bool end = b == kSysExEnd;
        if (end) inSysEx = false;
        if (end || fill >= current->length) {
            MidiInBuffer* done = current;
            const int count = static_cast<int>(fill);
            {
                std::lock_guard lock(mutex);
                current = nullptr;
                fill = 0;
            }
            HandBack(done, count);
        }
    }
}
