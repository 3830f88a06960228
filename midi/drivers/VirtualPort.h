#pragma once
// Two ports of the program's own, "MIDI IN" and "MIDI OUT", under a client name that other
// programs connect to: how "quellin-cli emulate" stands in for the unit on the machine's MIDI
// system. What arrives on MIDI IN goes to the listener, on the MIDI system's thread; what is sent
// leaves MIDI OUT one message at a time, no faster than the transport carries it.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

class PacedSender;
class RtMidiIn;
class RtMidiOut;

class VirtualPort {
  public:
    enum class Api { Jack, Alsa };
    using Listener = std::function<void(const uint8_t* bytes, size_t n)>;

    VirtualPort();
    ~VirtualPort();
    VirtualPort(const VirtualPort&) = delete;
    VirtualPort& operator=(const VirtualPort&) = delete;

    // Opens both ports with the first of apis that works here; false when none does.
    bool Open(std::span<const Api> apis, const std::string& clientName);
    // "JACK" or "ALSA", once open.
    const std::string& ApiName() const { return apiName; }
    // From now on, every message that arrives goes to listener; what arrived before is dropped.
    // Called once. The listener runs in the MIDI system's cycle: it should only hand the bytes on.
    void Listen(Listener listener);
    // Sends every complete F0..F7 message of bytes; false when the port refused one.
    bool Send(const uint8_t* bytes, size_t n);
    // Closes MIDI IN: once this has returned the listener runs no more.
    void CloseInput();
    // Whether the MIDI server under the ports has gone away (a JACK server that stopped); the
    // ports are dead then.
    bool ServerGone() const { return serverGone.load(); }

  private:
    std::unique_ptr<RtMidiIn> in;
    std::unique_ptr<RtMidiOut> out;
    std::atomic<bool> inError{false};
    std::atomic<bool> outError{false};
    std::unique_ptr<PacedSender> sender;
    // A JACK client of our own that only listens for the server's shutdown.
    struct ServerWatch;
    std::unique_ptr<ServerWatch> watch;
    std::atomic<bool> serverGone{false};
    Listener listener;
    // Set once listener is in place: the MIDI system's thread sees the listener, and everything
    // it uses, whole only through this flag.
    std::atomic<bool> listening{false};
    std::string apiName;
};
