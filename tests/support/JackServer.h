#pragma once
// A JACK server of our own for the end-to-end tests and the benchmarks: the dummy backend (no
// sound card needed), not real-time, under a server name nobody else uses. JACK_DEFAULT_SERVER
// names it for this process and every child started while it runs; the previous value comes
// back when it stops. Header-only, because the benchmarks use it too.

#include <jack/jack.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "tests/support/ChildProcess.h"

class JackServer {
  public:
    // The jackd found on PATH, or an empty path.
    static std::filesystem::path FindJackd() {
        const char* path = std::getenv("PATH");
        std::string dirs = path ? path : "/usr/bin:/bin";
        for (size_t start = 0; start <= dirs.size();) {
            size_t end = dirs.find(':', start);
            if (end == std::string::npos) end = dirs.size();
            const std::filesystem::path candidate =
                std::filesystem::path(dirs.substr(start, end - start)) / "jackd";
            if (access(candidate.c_str(), X_OK) == 0) return candidate;
            start = end + 1;
        }
        return {};
    }

    // Starts the server and waits until a client can connect; Running() tells whether it did.
    // Synchronous: each cycle waits for every client (up to 5 s) instead of dropping what a
    // client that was not scheduled in time should have read, as happens on a busy machine
    // without real-time scheduling.
    explicit JackServer(int periodFrames = 256, bool synchronous = true, int sampleRate = 48000,
                        double startSeconds = 20.0)
        : period(periodFrames), rate(sampleRate) {
        static int serial = 0;
        name = "quellin-test-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
        const std::filesystem::path jackd = FindJackd();
        if (jackd.empty()) {
            error = "jackd is not installed";
            return;
        }
        if (const char* old = std::getenv("JACK_DEFAULT_SERVER")) previousName = old;
        setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
        // libjack reports every refused connection on stderr while we wait for the server.
        jack_set_error_function([](const char*) {});
        jack_set_info_function([](const char*) {});
        std::vector<std::string> args{jackd.string(), "--no-realtime", "-n", name};
        if (synchronous) args.insert(args.end(), {"--sync", "--timeout", "5000"});
        args.insert(args.end(), {"-d", "dummy", "-r", std::to_string(rate), "-p", std::to_string(period)});
        process = std::make_unique<ChildProcess>(args);
        const auto end = ChildProcess::Clock::now() + std::chrono::duration<double>(startSeconds);
        while (ChildProcess::Clock::now() < end) {
            if (process->Wait(0) != ChildProcess::kStillRunning) {
                error = "jackd ended at start:\n" + process->Err();
                return;
            }
            jack_status_t status{};
            const auto options = static_cast<jack_options_t>(JackNoStartServer | JackServerName);
            if (jack_client_t* probe = jack_client_open("quellin-probe", options, &status, name.c_str())) {
                jack_client_close(probe);
                running = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        error =
            "jackd did not accept clients within " + std::to_string(startSeconds) + " s:\n" + process->Err();
    }

    ~JackServer() {
        // The server frees its slot in JACK's registry of servers only when it ends by itself:
        // a killed one keeps the slot, and the registry holds eight. On a busy machine its
        // shutdown can take seconds, so it gets them.
        if (process) process->Stop(60.0);
        if (!name.empty() && process) {
            if (previousName) setenv("JACK_DEFAULT_SERVER", previousName->c_str(), 1);
            else unsetenv("JACK_DEFAULT_SERVER");
        }
    }

    JackServer(const JackServer&) = delete;
    JackServer& operator=(const JackServer&) = delete;

    bool Running() const { return running; }
    const std::string& Error() const { return error; }
    const std::string& Name() const { return name; }
    int Period() const { return period; }
    int Rate() const { return rate; }
    double PeriodMs() const { return 1000.0 * period / rate; }

  private:
    int period;
    int rate;
    std::string name;
    std::optional<std::string> previousName;
    std::string error;
    bool running = false;
    std::unique_ptr<ChildProcess> process;
};
