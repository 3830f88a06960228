#include "midi/drivers/RtMidiBackend.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <rtmidi/RtMidi.h>

#include <iostream>
#include <sstream>

#include "model/SysEx.h"

namespace {

void IgnoreJack(const char*) {}
void IgnoreAlsa(const char*, int, const char*, int, const char*, ...) {}

void OnRtMidiError(RtMidiError::Type type, const std::string&, void* user) {
    if (type == RtMidiError::DEBUG_WARNING) return;
    static_cast<std::atomic<bool>*>(user)->store(true);
}

void OnRtMidiInput(double, std::vector<unsigned char>* message, void* user) {
    if (message && !message->empty())
        static_cast<MidiInputQueue*>(user)->Deliver(message->data(), message->size());
}

std::string PortName(RtMidi& midi, unsigned i) {
    std::string name;
    try {
        name = midi.getPortName(i);
    } catch (const RtMidiError&) {}
    return name;
}

} // namespace

CerrSilencer::CerrSilencer() : old(std::cerr.rdbuf(sink.rdbuf())) {}

CerrSilencer::~CerrSilencer() {
    std::cerr.rdbuf(old);
}

void QuietMidiLibraries() {
    static bool done = false;
    if (done) return;
    done = true;
    jack_set_error_function(IgnoreJack);
    jack_set_info_function(IgnoreJack);
    snd_lib_error_set_handler(IgnoreAlsa);
}

void RouteErrors(RtMidiOut& out, std::atomic<bool>& flag) {
    out.setErrorCallback(OnRtMidiError, &flag);
}
void RouteErrors(RtMidiIn& in, std::atomic<bool>& flag) {
    in.setErrorCallback(OnRtMidiError, &flag);
}

PacedSender::PacedSender(RtMidiOut& out_, std::atomic<bool>& errorFlag_, int bytesPerSecond, int burstBytes)
    : out(out_), errorFlag(errorFlag_), rate(bytesPerSecond), burst(burstBytes), tokens(burstBytes),
      last(std::chrono::steady_clock::now()) {}

void PacedSender::Pace(size_t n) {
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        tokens = std::min(burst, tokens + rate * std::chrono::duration<double>(now - last).count());
        last = now;
        if (tokens >= static_cast<double>(n) || tokens >= burst) break;
        const double wait = (static_cast<double>(n) - tokens) / rate;
        std::this_thread::sleep_for(std::chrono::duration<double>(std::min(wait, 0.005)));
    }
    tokens -= static_cast<double>(n);
}

bool PacedSender::Send(const uint8_t* bytes, size_t n) {
    size_t i = 0;
    while (i < n) {
        if (bytes[i] != kSysExStart) {
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < n && bytes[end] != kSysExEnd) ++end;
        if (end >= n) break; // an unfinished message is not sent
        const size_t len = end - i + 1;
        Pace(len);
        errorFlag = false;
        try {
            out.sendMessage(bytes + i, len);
        } catch (const RtMidiError&) {
            return false;
        }
        if (errorFlag) return false;
        i = end + 1;
    }
    return true;
}

RtMidiBackend::RtMidiBackend(int api_, std::string prefix_) : api(api_), prefix(std::move(prefix_)) {
    QuietMidiLibraries();
    CerrSilencer quiet;
    try {
        const auto rtApi = static_cast<RtMidi::Api>(api);
        out = std::make_unique<RtMidiOut>(rtApi, "Quellin");
        RouteErrors(*out, outError);
        in = std::make_unique<RtMidiIn>(rtApi, "Quellin", 100);
        RouteErrors(*in, inError);
        available = true;
    } catch (const RtMidiError&) {
        out.reset();
        in.reset();
    }
}

RtMidiBackend::~RtMidiBackend() {
    if (stream.IsOpen()) CloseStream();
    if (outputOpen) CloseOutput();
    if (inputOpen) CloseInput();
}

std::vector<std::string> RtMidiBackend::RawOutPorts() {
    std::vector<std::string> names;
    if (!out) return names;
    CerrSilencer quiet;
    const unsigned count = out->getPortCount();
    for (unsigned i = 0; i < count; ++i) names.push_back(PortName(*out, i));
    return names;
}

std::vector<std::string> RtMidiBackend::RawInPorts() {
    std::vector<std::string> names;
    if (!in) return names;
    CerrSilencer quiet;
    const unsigned count = in->getPortCount();
    for (unsigned i = 0; i < count; ++i) names.push_back(PortName(*in, i));
    return names;
}

std::vector<std::string> RtMidiBackend::OutDeviceNames() {
    listedOut = RawOutPorts();
    std::vector<std::string> names;
    for (const auto& n : listedOut) names.push_back(n.empty() ? kInvalidDeviceName : prefix + ": " + n);
    return names;
}

std::vector<std::string> RtMidiBackend::InDeviceNames() {
    listedIn = RawInPorts();
    std::vector<std::string> names;
    for (const auto& n : listedIn) names.push_back(n.empty() ? kInvalidDeviceName : prefix + ": " + n);
    return names;
}

// Ports come and go; the index the user chose names the port listed there at the time.
int RtMidiBackend::FindPort(bool output, unsigned device) {
    const auto& listed = output ? listedOut : listedIn;
    const auto now = output ? RawOutPorts() : RawInPorts();
    if (device >= listed.size() || listed[device].empty()) return -1;
    if (device < now.size() && now[device] == listed[device]) return static_cast<int>(device);
    for (size_t i = 0; i < now.size(); ++i)
        if (now[i] == listed[device]) return static_cast<int>(i);
    return -1;
}

int RtMidiBackend::OpenOutput(unsigned device, MidiOutputDriver::Callback callback) {
    if (!out) return kMidiErrNoDriver;
    if (outputOpen || stream.IsOpen()) return kMidiErrAllocated;
    const int port = FindPort(true, device);
    if (port < 0) return kMidiErrBadDevice;
    CerrSilencer quiet;
    outError = false;
    try {
        out->openPort(static_cast<unsigned>(port), "Quellin Out");
    } catch (const RtMidiError&) {
        outError = true;
    }
    if (outError || !out->isPortOpen()) return kMidiErrAllocated;
    outputOpen = true;
    outputCallback = std::move(callback);
    paced = std::make_unique<PacedSender>(*out, outError);
    stopSender = false;
    sender = std::thread([this] { SenderLoop(); });
    if (outputCallback) outputCallback(kMidiOutOpen);
    return kMidiOk;
}

int RtMidiBackend::CloseOutput() {
    if (!outputOpen) return kMidiErrInvalidHandle;
    {
        std::lock_guard lock(sendMutex);
        stopSender = true;
        sendQueue.clear();
    }
    sendCv.notify_all();
    sender.join();
    out->closePort();
    paced.reset();
    outputOpen = false;
    auto cb = std::move(outputCallback);
    outputCallback = nullptr;
    if (cb) cb(kMidiOutClose);
    return kMidiOk;
}

// The stream plays through a client of its own, so that listing the ports on the user's thread
// never meets the player's sends on one connection to the MIDI server.
int RtMidiBackend::OpenStream(unsigned device, MidiOutputDriver::Callback callback) {
    if (!out) return kMidiErrNoDriver;
    if (outputOpen || stream.IsOpen()) return kMidiErrAllocated;
    if (FindPort(true, device) < 0) return kMidiErrBadDevice;
    const std::string name = listedOut[device];
    CerrSilencer quiet;
    streamError = false;
    try {
        streamOut = std::make_unique<RtMidiOut>(static_cast<RtMidi::Api>(api), "Quellin LFO");
        RouteErrors(*streamOut, streamError);
        const unsigned count = streamOut->getPortCount();
        for (unsigned i = 0; i < count; ++i)
            if (PortName(*streamOut, i) == name) {
                streamOut->openPort(i, "Quellin LFO Out");
                break;
            }
    } catch (const RtMidiError&) {
        streamError = true;
    }
    if (streamError || !streamOut || !streamOut->isPortOpen()) {
        streamOut.reset();
        return kMidiErrAllocated;
    }
    // Only the stream's player thread sends while the stream is open.
    return stream.Open(
        [this](const uint8_t* bytes, size_t n) {
            streamError = false;
            try {
                streamOut->sendMessage(bytes, n);
            } catch (const RtMidiError&) {
                return false;
            }
            return !streamError.load();
        },
        std::move(callback));
}

int RtMidiBackend::CloseStream() {
    if (!stream.IsOpen()) return kMidiErrInvalidHandle;
    stream.Close();
    streamOut->closePort();
    streamOut.reset();
    return kMidiOk;
}

int RtMidiBackend::PrepareLong(MidiLongMessage& message) {
    if (!outputOpen) return kMidiErrInvalidHandle;
    if (message.data == nullptr) return kMidiErrInvalidParam;
    message.prepared = true;
    return kMidiOk;
}

int RtMidiBackend::SendLong(MidiLongMessage& message) {
    if (!outputOpen) return kMidiErrInvalidHandle;
    if (!message.prepared) return kMidiErrUnprepared;
    message.done = false;
    {
        std::lock_guard lock(sendMutex);
        // The bytes are copied: the caller may reuse its buffer once it stops waiting.
        sendQueue.push_back({std::vector<uint8_t>(message.data, message.data + message.size), &message});
    }
    sendCv.notify_all();
    return kMidiOk;
}

int RtMidiBackend::UnprepareLong(MidiLongMessage& message) {
    if (!message.prepared) return kMidiErrUnprepared;
    std::lock_guard lock(sendMutex);
    // A message the caller gave up waiting for is no longer reported on.
    for (auto& p : sendQueue)
        if (p.message == &message) p.message = nullptr;
    if (inFlight == &message) inFlight = nullptr;
    message.prepared = false;
    return kMidiOk;
}

void RtMidiBackend::SenderLoop() {
    for (;;) {
        Pending job;
        {
            std::unique_lock lock(sendMutex);
            sendCv.wait(lock, [this] { return stopSender || !sendQueue.empty(); });
            if (stopSender) return;
            job = std::move(sendQueue.front());
            sendQueue.pop_front();
            inFlight = job.message;
        }
        const bool ok = paced->Send(job.bytes.data(), job.bytes.size());
        MidiLongMessage* message = nullptr;
        {
            std::lock_guard lock(sendMutex);
            message = inFlight;
            inFlight = nullptr;
            // The done notice only once every byte has been handed on; a refused send never ends.
            if (ok && message) message->done = true;
        }
        if (ok && message && outputCallback) outputCallback(kMidiOutDone);
    }
}

int RtMidiBackend::OpenInput(unsigned device, MidiInputDriver::Callback callback) {
    if (!in) return kMidiErrNoDriver;
    if (inputOpen) return kMidiErrAllocated;
    const int port = FindPort(false, device);
    if (port < 0) return kMidiErrBadDevice;
    input.Open(std::move(callback));
    CerrSilencer quiet;
    inError = false;
    try {
        in->ignoreTypes(false, true, true);
        in->setCallback(OnRtMidiInput, &input);
        in->openPort(static_cast<unsigned>(port), "Quellin In");
    } catch (const RtMidiError&) {
        inError = true;
    }
    if (inError || !in->isPortOpen()) {
        in->cancelCallback();
        input.Close();
        return kMidiErrAllocated;
    }
    inputOpen = true;
    return kMidiOk;
}

int RtMidiBackend::CloseInput() {
    if (!inputOpen) return kMidiErrInvalidHandle;
    in->closePort();
    in->cancelCallback();
    inputOpen = false;
    return input.Close();
}
