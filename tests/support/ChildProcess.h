#pragma once
// A program run beside the tests: its standard input is a pipe we write, its standard output and
// error are read line by line on a thread of our own, each line stamped with the time it arrived.
// A child never outlives us: it gets SIGTERM when the thread that started it ends, and the
// destructor stops whatever is still running. Header-only, because the benchmarks use it too.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ChildProcess {
  public:
    using Clock = std::chrono::steady_clock;
    struct Line {
        std::string text;
        Clock::time_point arrived;
    };

    // argv[0] is a path or a name on PATH; the child runs in directory when one is given.
    explicit ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& directory = {}) {
        int in[2], out[2], err[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return;
        // Everything the child needs is built before fork: only exec-safe calls may follow it.
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        const std::string dir = directory.string();
        const pid_t parent = getpid();
        // A child that has gone away must not take us with it when we write to it.
        signal(SIGPIPE, SIG_IGN);
        pid = fork();
        if (pid == 0) {
            signal(SIGPIPE, SIG_DFL);
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() != parent) _exit(127);
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(127);
            execvp(args[0], args.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        close(err[1]);
        input = in[1];
        reader = std::thread([this, o = out[0], e = err[0]] { ReadLoop(o, e); });
    }

    // A child that does not end with its input (a server, the emulator) is asked to with SIGTERM.
    ~ChildProcess() {
        CloseInput();
        if (pid > 0 && Wait(1.0) == kStillRunning) Stop();
        if (reader.joinable()) reader.join();
    }

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid > 0; }

    void Write(const std::string& text) {
        if (input >= 0 && write(input, text.data(), text.size()) < 0) CloseInput();
    }

    void CloseInput() {
        if (input >= 0) close(input);
        input = -1;
    }

    // Waits for a line of standard output that matches; false when the time ran out or the
    // output ended first.
    bool WaitForLine(const std::function<bool(const std::string&)>& match, double seconds, size_t from = 0) {
        std::unique_lock lock(mutex);
        size_t seen = from;
        return changed.wait_for(lock, std::chrono::duration<double>(seconds), [&] {
            for (; seen < outLines.size(); ++seen)
                if (match(outLines[seen].text)) return true;
            return outEnded;
        }) && seen < outLines.size();
    }

    static constexpr int kStillRunning = -1000;
    // The exit status (128 + n for a signal), or kStillRunning when seconds pass first.
    int Wait(double seconds) {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (pid > 0) {
            int status = 0;
            const pid_t r = waitpid(pid, &status, WNOHANG);
            if (r == pid) {
                exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                pid = -1;
                break;
            }
            if (r < 0) {
                pid = -1;
                break;
            }
            if (Clock::now() >= end) return kStillRunning;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (reader.joinable()) reader.join();
        return exitStatus;
    }

    // Sends a signal, as a terminal's Ctrl+C sends SIGINT.
    void Signal(int signal) {
        if (pid > 0) kill(pid, signal);
    }

    // SIGTERM, and SIGKILL if that does not end it within killAfter seconds.
    void Stop(double killAfter = 2.0) {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        if (Wait(killAfter) == kStillRunning) Kill();
    }

    std::vector<Line> OutLines() const {
        std::lock_guard lock(mutex);
        return outLines;
    }
    std::string Out() const { return Joined(false); }
    std::string Err() const { return Joined(true); }

  private:
    void Kill() {
        kill(pid, SIGKILL);
        Wait(5.0);
    }

    std::string Joined(bool error) const {
        std::lock_guard lock(mutex);
        std::string text;
        for (const auto& l : error ? errLines : outLines) text += l.text + "\n";
        return text;
    }

    void ReadLoop(int out, int err) {
        std::string pending[2];
        pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
        int open = 2;
        while (open > 0) {
            if (poll(fds, 2, -1) < 0) break;
            for (int i = 0; i < 2; ++i) {
                if (fds[i].fd < 0 || fds[i].revents == 0) continue;
                char chunk[4096];
                const ssize_t n = read(fds[i].fd, chunk, sizeof chunk);
                if (n <= 0) {
                    close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                    if (!pending[i].empty()) Add(i == 1, std::move(pending[i]));
                    pending[i].clear();
                    continue;
                }
                pending[i].append(chunk, static_cast<size_t>(n));
                for (size_t pos; (pos = pending[i].find('\n')) != std::string::npos;) {
                    Add(i == 1, pending[i].substr(0, pos));
                    pending[i].erase(0, pos + 1);
                }
            }
        }
        std::lock_guard lock(mutex);
        outEnded = true;
        changed.notify_all();
    }

    void Add(bool error, std::string text) {
        const auto now = Clock::now();
        std::lock_guard lock(mutex);
        (error ? errLines : outLines).push_back({std::move(text), now});
        changed.notify_all();
    }

    pid_t pid = -1;
    int input = -1;
    int exitStatus = -1;
    std::thread reader;
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<Line> outLines, errLines;
    bool outEnded = false;
};
