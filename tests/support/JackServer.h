#pragma once
// A JACK server of our own for the end-to-end tests and the benchmarks: the dummy backend (no
// sound card needed), not real-time, under a server name nobody else uses. JACK_DEFAULT_SERVER
// names it for this process and every child started while it runs; the previous value comes
// back when it stops. Header-only, because the benchmarks use it too.

#include <fcntl.h>
#include <jack/jack.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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
        ReclaimSlotsOfDeadTestServers();
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
    // A test server that was killed (a test run stopped hard) keeps its slot in JACK's registry of
    // servers for good, since JACK reclaims a slot only for a server of the same name, and ours
    // carry the test's pid. Once eight are lost no server starts. The slots of our own servers
    // whose process is gone are given back here; any other slot is left alone, and a registry
    // laid out other than expected is not touched.
    static void ReclaimSlotsOfDeadTestServers() {
        constexpr uint32_t kMagic = 0x4A41434B; // "JACK"
        constexpr size_t kHeader = 24, kServers = 8, kServerSize = 264, kNameSize = 257;
        const int fd = open("/dev/shm/jack-shm-registry", O_RDWR | O_CLOEXEC);
        if (fd < 0) return;
        std::array<char, kHeader + kServers * kServerSize> table{};
        uint32_t magic = 0, headerLength = 0;
        if (pread(fd, table.data(), table.size(), 0) == static_cast<ssize_t>(table.size())) {
            std::memcpy(&magic, table.data(), 4);
            std::memcpy(&headerLength, table.data() + 16, 4);
        }
        const std::string ours = "jack-" + std::to_string(getuid()) + ":quellin-test-";
        for (size_t i = 0; magic == kMagic && headerLength == table.size() && i < kServers; ++i) {
            const char* slot = table.data() + kHeader + i * kServerSize;
            pid_t pid = 0;
            std::memcpy(&pid, slot, sizeof pid);
            const std::string slotName(slot + 4, strnlen(slot + 4, kNameSize));
            if (pid <= 0 || !slotName.starts_with(ours) || kill(pid, 0) == 0 || errno != ESRCH) continue;
            const std::array<char, kServerSize> empty{};
            (void)!pwrite(fd, empty.data(), empty.size(), static_cast<off_t>(kHeader + i * kServerSize));
        }
        close(fd);
    }

    int period;
    int rate;
    std::string name;
    std::optional<std::string> previousName;
    std::string error;
    bool running = false;
    std::unique_ptr<ChildProcess> process;
};
