#include "midi/drivers/MidiSystem.h"

#include <rtmidi/RtMidi.h>

#include "midi/drivers/RtMidiBackend.h"
#include "midi/drivers/VirtualUnitDriver.h"

MidiSystem::MidiSystem(bool withHardware) {
    if (withHardware) {
        std::vector<RtMidi::Api> apis;
        RtMidi::getCompiledApi(apis);
        // ALSA first, then JACK, then whatever else this build has.
        std::stable_sort(apis.begin(), apis.end(), [](RtMidi::Api a, RtMidi::Api b) {
            auto rank = [](RtMidi::Api x) {
                return x == RtMidi::LINUX_ALSA ? 0 : x == RtMidi::UNIX_JACK ? 1 : 2;
            };
            return rank(a) < rank(b);
        });
        for (RtMidi::Api api : apis) {
            if (api == RtMidi::RTMIDI_DUMMY) continue;
            const std::string name = api == RtMidi::LINUX_ALSA  ? "ALSA"
                                     : api == RtMidi::UNIX_JACK ? "JACK"
                                                                : RtMidi::getApiDisplayName(api);
            auto backend = std::make_unique<RtMidiBackend>(static_cast<int>(api), name);
            if (backend->Available()) backends.push_back(std::move(backend));
        }
    }
    auto v = std::make_unique<VirtualUnitDriver>();
    virtualUnit = v.get();
    backends.push_back(std::move(v));
    Refresh();
}

MidiSystem::~MidiSystem() {
    if (openStream) CloseStream();
    if (openOut) CloseOutput();
    if (openIn) CloseInput();
}

void MidiSystem::Refresh() {
    ListOutputs();
    ListInputs();
}

void MidiSystem::ListOutputs() {
    outNames.clear();
    outEntries.clear();
    for (auto& b : backends) {
        const auto outs = b->OutDeviceNames();
        for (unsigned i = 0; i < outs.size(); ++i) {
            outNames.push_back(outs[i]);
            outEntries.push_back({b.get(), i});
        }
    }
}

void MidiSystem::ListInputs() {
    inNames.clear();
    inEntries.clear();
    for (auto& b : backends) {
        const auto ins = b->InDeviceNames();
        for (unsigned i = 0; i < ins.size(); ++i) {
            inNames.push_back(ins[i]);
            inEntries.push_back({b.get(), i});
        }
    }
}

// Every listing is taken anew, so that a device plugged in since shows; indexes name the devices
// of the latest listing. An open port stays open on its device.
std::vector<std::string> MidiSystem::OutDeviceNames() {
    ListOutputs();
    return outNames;
}
std::vector<std::string> MidiSystem::InDeviceNames() {
    ListInputs();
    return inNames;
}

bool MidiSystem::IsVirtualOut(unsigned device) const {
    return device < outEntries.size() && outEntries[device].driver == virtualUnit;
}

bool MidiSystem::IsVirtualIn(unsigned device) const {
    return device < inEntries.size() && inEntries[device].driver == virtualUnit;
}

int MidiSystem::OpenOutput(unsigned device, MidiOutputDriver::Callback callback) {
    if (openOut) return kMidiErrAllocated;
    if (device >= outEntries.size()) return kMidiErrBadDevice;
    const Entry e = outEntries[device];
    const int rc = e.driver->OpenOutput(e.index, std::move(callback));
    if (rc == kMidiOk) openOut = e.driver;
    return rc;
}

int MidiSystem::CloseOutput() {
    if (!openOut) return kMidiErrInvalidHandle;
    const int rc = openOut->CloseOutput();
    if (rc == kMidiOk) openOut = nullptr;
    return rc;
}

int MidiSystem::OpenStream(unsigned device, MidiOutputDriver::Callback callback) {
    if (openStream) return kMidiErrAllocated;
    if (device >= outEntries.size()) return kMidiErrBadDevice;
    const Entry e = outEntries[device];
    const int rc = e.driver->OpenStream(e.index, std::move(callback));
    if (rc == kMidiOk) openStream = e.driver;
    return rc;
}

int MidiSystem::CloseStream() {
    if (!openStream) return kMidiErrInvalidHandle;
    const int rc = openStream->CloseStream();
    if (rc == kMidiOk) openStream = nullptr;
    return rc;
}

int MidiSystem::PrepareLong(MidiLongMessage& m) {
    return openOut ? openOut->PrepareLong(m) : kMidiErrInvalidHandle;
}
int MidiSystem::SendLong(MidiLongMessage& m) {
    return openOut ? openOut->SendLong(m) : kMidiErrInvalidHandle;
}
int MidiSystem::UnprepareLong(MidiLongMessage& m) {
    return openOut ? openOut->UnprepareLong(m) : kMidiErrInvalidHandle;
}

int MidiSystem::OpenInput(unsigned device, MidiInputDriver::Callback callback) {
    if (openIn) return kMidiErrAllocated;
    if (device >= inEntries.size()) return kMidiErrBadDevice;
    const Entry e = inEntries[device];
    const int rc = e.driver->OpenInput(e.index, std::move(callback));
    if (rc == kMidiOk) openIn = e.driver;
    return rc;
}

int MidiSystem::PrepareInput(MidiInBuffer& b) {
    return openIn ? openIn->PrepareInput(b) : kMidiErrInvalidHandle;
}
int MidiSystem::AddBuffer(MidiInBuffer& b) {
    return openIn ? openIn->AddBuffer(b) : kMidiErrInvalidHandle;
}
int MidiSystem::StartInput() {
    return openIn ? openIn->StartInput() : kMidiErrInvalidHandle;
}
int MidiSystem::StopInput() {
    return openIn ? openIn->StopInput() : kMidiErrInvalidHandle;
}
int MidiSystem::ResetInput() {
    return openIn ? openIn->ResetInput() : kMidiErrInvalidHandle;
}
int MidiSystem::UnprepareInput(MidiInBuffer& b) {
    return openIn ? openIn->UnprepareInput(b) : kMidiErrInvalidHandle;
}

int MidiSystem::CloseInput() {
    if (!openIn) return kMidiErrInvalidHandle;
    const int rc = openIn->CloseInput();
    if (rc == kMidiOk) openIn = nullptr;
    return rc;
}
