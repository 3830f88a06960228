#include "midi/drivers/VirtualUnitDriver.h"

#include <chrono>

VirtualUnitDriver::VirtualUnitDriver(int bytesPerSecond) : pacing(bytesPerSecond) {}

VirtualUnitDriver::~VirtualUnitDriver() {
    stream.Close();
    CancelDump();
    unit.reset();
}

VirtualUnit& VirtualUnitDriver::Unit() {
    std::lock_guard lock(unitMutex);
    if (!unit)
        unit = std::make_unique<VirtualUnit>([this](const uint8_t* b, size_t n) { input.Deliver(b, n); },
                                             pacing);
    return *unit;
}

void VirtualUnitDriver::SetPacing(int bytesPerSecond) {
    pacing = bytesPerSecond;
    Unit().SetPacing(bytesPerSecond);
}

int VirtualUnitDriver::OpenOutput(unsigned device, MidiOutputDriver::Callback callback) {
    if (device != 0) return kMidiErrBadDevice;
    if (outputOpen || stream.IsOpen()) return kMidiErrAllocated;
    Unit();
    outputOpen = true;
    outputCallback = std::move(callback);
    if (outputCallback) outputCallback(kMidiOutOpen);
    return kMidiOk;
}

int VirtualUnitDriver::CloseOutput() {
    if (!outputOpen) return kMidiErrInvalidHandle;
    outputOpen = false;
    auto cb = std::move(outputCallback);
    outputCallback = nullptr;
    if (cb) cb(kMidiOutClose);
    return kMidiOk;
}

int VirtualUnitDriver::OpenStream(unsigned device, MidiOutputDriver::Callback callback) {
    if (device != 0) return kMidiErrBadDevice;
    if (outputOpen || stream.IsOpen()) return kMidiErrAllocated;
    VirtualUnit& unit = Unit();
    return stream.Open(
        [&unit](const uint8_t* bytes, size_t n) {
            unit.Receive(bytes, n);
            return true;
        },
        std::move(callback));
}

int VirtualUnitDriver::PrepareLong(MidiLongMessage& message) {
    if (!outputOpen) return kMidiErrInvalidHandle;
    message.prepared = true;
    message.done = false;
    return kMidiOk;
}

int VirtualUnitDriver::SendLong(MidiLongMessage& message) {
    if (!outputOpen) return kMidiErrInvalidHandle;
    if (!message.prepared) return kMidiErrUnprepared;
    Unit().Receive(message.data, message.size);
    message.done = true;
    if (outputCallback) outputCallback(kMidiOutDone);
    return kMidiOk;
}

int VirtualUnitDriver::UnprepareLong(MidiLongMessage& message) {
    if (!message.prepared) return kMidiErrUnprepared;
    message.prepared = false;
    return kMidiOk;
}

int VirtualUnitDriver::OpenInput(unsigned device, MidiInputDriver::Callback callback) {
    if (device != 0) return kMidiErrBadDevice;
    if (input.IsOpen()) return kMidiErrAllocated;
    Unit();
    input.Open(std::move(callback));
    return kMidiOk;
}

int VirtualUnitDriver::StartInput() {
    const int rc = input.Start();
    if (rc == kMidiOk && input.QueuedCount() >= 16 && dumpDelayMs >= 0) {
        CancelDump();
        dumpCancelled = false;
        dumpTimer = std::thread([this] {
            std::unique_lock lock(dumpMutex);
            if (!dumpCv.wait_for(lock, std::chrono::milliseconds(dumpDelayMs),
                                 [this] { return dumpCancelled; }))
                Unit().SendBankDump();
        });
    }
    return rc;
}

int VirtualUnitDriver::CloseInput() {
    CancelDump();
    return input.Close();
}

void VirtualUnitDriver::CancelDump() {
    {
        std::lock_guard lock(dumpMutex);
        dumpCancelled = true;
    }
    dumpCv.notify_all();
    if (dumpTimer.joinable()) dumpTimer.join();
}
