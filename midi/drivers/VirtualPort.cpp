#include "midi/drivers/VirtualPort.h"

#include <rtmidi/RtMidi.h>

#include "midi/drivers/RtMidiBackend.h"

VirtualPort::VirtualPort() = default;

VirtualPort::~VirtualPort() {
    CloseInput();
}

bool VirtualPort::Open(std::span<const Api> apis, const std::string& clientName) {
    QuietMidiLibraries();
    for (const Api api : apis) {
        const RtMidi::Api rtApi = api == Api::Jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
        {
            CerrSilencer quiet;
            try {
                in = std::make_unique<RtMidiIn>(rtApi, clientName, 100);
                out = std::make_unique<RtMidiOut>(rtApi, clientName);
                RouteErrors(*in, inError);
                RouteErrors(*out, outError);
                // SysEx comes through; timing and active sensing do not.
                in->ignoreTypes(false, true, true);
                in->openVirtualPort("MIDI IN");
                out->openVirtualPort("MIDI OUT");
            } catch (const RtMidiError&) {
                inError = true;
            }
        }
        if (in && out && !inError && !outError) {
            apiName = api == Api::Jack ? "JACK" : "ALSA";
            sender = std::make_unique<PacedSender>(*out, outError);
            return true;
        }
        in.reset();
        out.reset();
        inError = outError = false;
    }
    return false;
}

void VirtualPort::Listen(Listener l) {
    if (!in) return;
    listener = std::move(l);
    in->setCallback(
        [](double, std::vector<unsigned char>* message, void* user) {
            if (message && !message->empty())
                static_cast<VirtualPort*>(user)->listener(message->data(), message->size());
        },
        this);
}

bool VirtualPort::Send(const uint8_t* bytes, size_t n) {
    return sender && sender->Send(bytes, n);
}

void VirtualPort::CloseInput() {
    if (!in) return;
    if (listener) in->cancelCallback();
    in->closePort();
    in.reset();
}
