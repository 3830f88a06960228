#include "tests/support/TestDrivers.h"

#include <algorithm>
#include <chrono>

#include "midi/VF1MIDI.h"

RecordingDriver::RecordingDriver() = default;

RecordingDriver::~RecordingDriver() {
    stream.Close();
    WaitForReplies();
    JoinDoneThreads();
}

void RecordingDriver::Fail(Call call, int rc, int fromUse) {
    std::lock_guard lock(mutex);
    faults.push_back({call, rc, fromUse});
}

void RecordingDriver::Unplug() {
    unplugged = true;
}

void RecordingDriver::SetDone(Done mode, int delayMs) {
    done = mode;
    doneDelayMs = delayMs;
}

void RecordingDriver::OnSend(std::function<void(const std::vector<uint8_t>&)> hook) {
    onSend = std::move(hook);
}

int RecordingDriver::Enter(Call call) {
    std::lock_guard lock(mutex);
    calls.push_back(call);
    if (unplugged) return kMidiErrNoDriver;
    const int use = static_cast<int>(std::count(calls.begin(), calls.end(), call));
    for (const Fault& f : faults)
        if (f.call == call && use >= f.fromUse) return f.rc;
    return kMidiOk;
}

std::vector<std::vector<uint8_t>> RecordingDriver::Sent() const {
    std::lock_guard lock(mutex);
    return sent;
}

std::vector<RecordingDriver::Call> RecordingDriver::Calls() const {
    std::lock_guard lock(mutex);
    return calls;
}

int RecordingDriver::Uses(Call call) const {
    std::lock_guard lock(mutex);
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

int RecordingDriver::OpenOutput(unsigned device, MidiOutputDriver::Callback callback) {
    if (const int rc = Enter(Call::OpenOut)) return rc;
    if (device >= outNames.size() || outNames[device] == kInvalidDeviceName) return kMidiErrBadDevice;
    if (stream.IsOpen()) return kMidiErrAllocated;
    outputOpen = true;
    outputCallback = std::move(callback);
    if (outputCallback) outputCallback(kMidiOutOpen);
    return kMidiOk;
}

int RecordingDriver::CloseOutput() {
    if (const int rc = Enter(Call::CloseOut)) return rc;
    JoinDoneThreads();
    outputOpen = false;
    auto callback = std::move(outputCallback);
    outputCallback = nullptr;
    if (callback) callback(kMidiOutClose);
    return kMidiOk;
}

std::vector<RecordingDriver::Played> RecordingDriver::StreamPlayed() const {
    std::lock_guard lock(mutex);
    return played;
}

int RecordingDriver::OpenStream(unsigned device, MidiOutputDriver::Callback callback) {
    if (const int rc = Enter(Call::OpenStream)) return rc;
    if (device >= outNames.size() || outNames[device] == kInvalidDeviceName) return kMidiErrBadDevice;
    if (outputOpen) return kMidiErrAllocated;
    return stream.Open(
        [this](const uint8_t* bytes, size_t n) {
            if (unplugged) return false;
            std::lock_guard lock(mutex);
            played.push_back({std::chrono::steady_clock::now(), std::vector<uint8_t>(bytes, bytes + n)});
            return true;
        },
        std::move(callback));
}

int RecordingDriver::CloseStream() {
    if (const int rc = Enter(Call::CloseStream)) return rc;
    return stream.Close();
}

int RecordingDriver::Stream::Prepare(MidiStreamBuffer& buffer) {
    if (const int rc = driver.Enter(Call::StreamPrepare)) return rc;
    return MidiStreamPlayer::Prepare(buffer);
}

int RecordingDriver::Stream::Out(MidiStreamBuffer& buffer) {
    if (const int rc = driver.Enter(Call::StreamOut)) return rc;
    return MidiStreamPlayer::Out(buffer);
}

int RecordingDriver::Stream::Restart() {
    if (const int rc = driver.Enter(Call::StreamRestart)) return rc;
    return MidiStreamPlayer::Restart();
}

int RecordingDriver::Stream::Pause() {
    if (const int rc = driver.Enter(Call::StreamPause)) return rc;
    return MidiStreamPlayer::Pause();
}

int RecordingDriver::Stream::Unprepare(MidiStreamBuffer& buffer) {
    if (const int rc = driver.Enter(Call::StreamUnprepare)) return rc;
    return MidiStreamPlayer::Unprepare(buffer);
}

int RecordingDriver::PrepareLong(MidiLongMessage& message) {
    if (const int rc = Enter(Call::Prepare)) return rc;
    message.prepared = true;
    message.done = false;
    return kMidiOk;
}

int RecordingDriver::SendLong(MidiLongMessage& message) {
    if (const int rc = Enter(Call::Send)) return rc;
    if (!message.prepared) return kMidiErrUnprepared;
    std::vector<uint8_t> bytes(message.data, message.data + message.size);
    {
        std::lock_guard lock(mutex);
        sent.push_back(bytes);
    }
    switch (done) {
    case Done::Immediate:
        message.done = true;
        if (outputCallback) outputCallback(kMidiOutDone);
        break;
    case Done::NoticeOnly:
        if (outputCallback) outputCallback(kMidiOutDone);
        break;
    case Done::Delayed:
        doneThreads.emplace_back([&message, callback = outputCallback, delay = doneDelayMs] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            message.done = true;
            if (callback) callback(kMidiOutDone);
        });
        break;
    case Done::Never:
        break;
    }
    if (onSend) onSend(bytes);
    return kMidiOk;
}

int RecordingDriver::UnprepareLong(MidiLongMessage& message) {
    // A late done notice must not reach a message its owner has taken back.
    JoinDoneThreads();
    if (const int rc = Enter(Call::Unprepare)) return rc;
    if (!message.prepared) return kMidiErrUnprepared;
    message.prepared = false;
    return kMidiOk;
}

void RecordingDriver::JoinDoneThreads() {
    for (auto& t : doneThreads) t.join();
    doneThreads.clear();
}

int RecordingDriver::OpenInput(unsigned device, MidiInputDriver::Callback callback) {
    if (const int rc = Enter(Call::OpenIn)) return rc;
    if (device >= inNames.size() || inNames[device] == kInvalidDeviceName) return kMidiErrBadDevice;
    input.Open(std::move(callback));
    return kMidiOk;
}

int RecordingDriver::PrepareInput(MidiInBuffer& buffer) {
    if (const int rc = Enter(Call::PrepareIn)) return rc;
    return input.Prepare(buffer);
}

int RecordingDriver::AddBuffer(MidiInBuffer& buffer) {
    if (const int rc = Enter(Call::AddBuffer)) return rc;
    return input.Add(buffer);
}

int RecordingDriver::StartInput() {
    if (const int rc = Enter(Call::StartIn)) return rc;
    return input.Start();
}

int RecordingDriver::StopInput() {
    if (const int rc = Enter(Call::StopIn)) return rc;
    return input.Stop();
}

int RecordingDriver::ResetInput() {
    if (const int rc = Enter(Call::ResetIn)) return rc;
    return input.Reset();
}

int RecordingDriver::UnprepareInput(MidiInBuffer& buffer) {
    if (const int rc = Enter(Call::UnprepareIn)) return rc;
    return input.Unprepare(buffer);
}

int RecordingDriver::CloseInput() {
    if (const int rc = Enter(Call::CloseIn)) return rc;
    return input.Close();
}

void RecordingDriver::Deliver(const std::vector<uint8_t>& bytes, const std::vector<size_t>& pieces) {
    size_t at = 0;
    for (size_t k = 0; at < bytes.size(); ++k) {
        if (unplugged) return;
        const size_t n = pieces.empty() ? bytes.size() : std::max<size_t>(1, pieces[k % pieces.size()]);
        const size_t take = std::min(n, bytes.size() - at);
        input.Deliver(bytes.data() + at, take);
        at += take;
    }
}

void RecordingDriver::Reply(std::vector<uint8_t> bytes, std::vector<size_t> pieces, int delayMs) {
    std::lock_guard lock(mutex);
    replyThreads.emplace_back([this, bytes = std::move(bytes), pieces = std::move(pieces), delayMs] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        Deliver(bytes, pieces);
    });
}

void RecordingDriver::WaitForReplies() {
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex);
        threads.swap(replyThreads);
    }
    for (auto& t : threads) t.join();
}

bool ScriptedTransfers::Wait(VF1MIDI& midi) {
    if (onOpen) onOpen();
    const auto start = std::chrono::steady_clock::now();
    while (midi.ReceivedCount() < waitForBytes &&
           std::chrono::steady_clock::now() - start < std::chrono::milliseconds(timeoutMs))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (whileOpen) whileOpen();
    countAtEnd = midi.ReceivedCount();
    return load;
}

bool ScriptedTransfers::RunReceivePatch(VF1MIDI& midi, bool toMemory, bool bankB, int index) {
    ++opened;
    // As the dialog does: the counter starts from zero before the request leaves.
    midi.ResetReceivedCount();
    if (!midi.RequestPatch(toMemory, bankB, index)) return false;
    return Wait(midi);
}

bool ScriptedTransfers::RunReceiveBank(VF1MIDI& midi, int expected) {
    ++opened;
    expectedBytes = expected;
    return Wait(midi);
}

void ScriptedTransfers::BeginSendBank(const int& patchesSent, bool& cancel) {
    patches = &patchesSent;
    cancelFlag = &cancel;
    sendBankOpen = true;
}

void ScriptedTransfers::UpdateSendBank() {
    progress.push_back(*patches);
    if (static_cast<int>(progress.size()) == cancelAfterChunks) *cancelFlag = true;
}

void ScriptedTransfers::EndSendBank() {
    patches = nullptr;
    cancelFlag = nullptr;
    sendBankOpen = false;
}
