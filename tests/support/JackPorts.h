#pragma once
// A JACK client with one MIDI port each way ("in" and "out"), standing in for another program's
// ports on the tests' JACK server. Header-only, like the server.

#include <jack/jack.h>
#include <jack/midiport.h>

class JackPorts {
  public:
    explicit JackPorts(const char* clientName) {
        jack_status_t status{};
        client = jack_client_open(clientName, JackNoStartServer, &status);
        if (!client) return;
        jack_port_register(client, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        jack_port_register(client, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        jack_activate(client);
    }
    ~JackPorts() {
        if (client) jack_client_close(client);
    }
    JackPorts(const JackPorts&) = delete;
    JackPorts& operator=(const JackPorts&) = delete;

    bool Open() const { return client != nullptr; }

  private:
    jack_client_t* client = nullptr;
};
