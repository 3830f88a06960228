#include "midi/drivers/VirtualPort.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>

#include "midi/drivers/RtMidiBackend.h"

struct VirtualPort::ServerWatch {
    jack_client_t* client = nullptr;

    ServerWatch(const std::string& clientName, std::atomic<bool>& gone) {
        jack_status_t status{};
        client = jack_client_open((clientName.substr(0, 40) + " watch").c_str(), JackNoStartServer, &status);
        if (client == nullptr) return;
        // The server tells an active client when it shuts down, or the client finds the server gone.
        jack_on_shutdown(
            client, [](void* flag) { static_cast<std::atomic<bool>*>(flag)->store(true); }, &gone);
        if (jack_activate(client) != 0) {
            jack_client_close(client);
            client = nullptr;
        }
    }
    ~ServerWatch() {
        if (client) jack_client_close(client);
    }
};

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
            if (api == Api::Jack) watch = std::make_unique<ServerWatch>(clientName, serverGone);
            return true;
        }
        in.reset();
        out.reset();
        inError = outError = false;
    }
    return false;
}

void VirtualPort::Listen(Listener l) {
    if (!in || listening.load()) return;
    listener = std::move(l);
    listening.store(true, std::memory_order_release);
    in->setCallback(
        [](double, std::vector<unsigned char>* message, void* user) {
            auto* port = static_cast<VirtualPort*>(user);
            if (message && !message->empty() && port->listening.load(std::memory_order_acquire))
                port->listener(message->data(), message->size());
        },
        this);
}

bool VirtualPort::Send(const uint8_t* bytes, size_t n) {
    return sender && sender->Send(bytes, n);
}

void VirtualPort::CloseInput() {
    if (!in) return;
    if (listening.load()) in->cancelCallback();
    in->closePort();
    in.reset();
}
