// The window as build/quellin opens it, with two modes for the scripts that look at it:
//
//   quellin_harness --startup-timing     prints the time from main to the first painted frame of
//                                        the main window and the memory held then, and quits;
//   quellin_harness --screenshot NAME    opens one of the dialogs after start (message, midi,
//                                        about, receive-patch, receive-bank, send-bank), or shows
//                                        the Global section (expanded), for scripts/screenshot.

#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/VF1App.h"
#include "midi/VF1MIDI.h"
#include "model/Report.h"
#include "ui/dialogs/VF1SendBankDlg.h"
#include "ui/editor/VF1main.h"

namespace {

using Clock = std::chrono::steady_clock;

// Resident memory of this process in kB, from /proc/self/status.
long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

void ReportFirstPaint(VF1main& window, Clock::time_point start) {
    QObject::connect(&window, &VF1main::firstPainted, &window, [start, &window] {
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::printf("startup_ms=%.1f rss_kb=%ld\n", ms, ResidentKb());
        std::fflush(stdout);
        window.done(0);
    });
}

void OpenForScreenshot(VF1main& window, const std::string& name) {
    QTimer::singleShot(300, &window, [&window, name] {
        VF1MIDI& midi = VF1MIDI::Instance();
        if (name == "expanded") {
            window.ToggleGlobalSection();
        } else if (name == "message") {
            ShowMessage(
                "You have unsaved changes in your banks.  Are you sure you want to quit without saving "
                "them?",
                MessageStyle::Question);
        } else if (name == "midi") {
            window.OpenMidiSettings();
        } else if (name == "about") {
            window.ShowAbout();
        } else if (name == "receive-patch") {
            window.RequestPatch();
        } else if (name == "receive-bank") {
            std::vector<uint8_t> bank(kBankReceiveCapacity);
            midi.ReceiveBank(bank.data(), kBankReceiveCapacity);
        } else if (name == "send-bank") {
            // The built-in unit takes a bank faster than a picture can be taken: the progress as
            // it stands a little way into a send.
            static const int sent = 57;
            static bool cancel = false;
            auto* progress = new VF1SendBankDlg(sent, cancel, &window);
            progress->setAttribute(Qt::WA_DeleteOnClose);
            progress->show();
        }
    });
}

} // namespace

int main(int argc, char** argv) {
    const Clock::time_point start = Clock::now();
    VF1App app(argc, argv);
    // What Qt has not taken of the command line.
    const QStringList arguments = QCoreApplication::arguments();
    const bool timing = arguments.contains(QStringLiteral("--startup-timing"));
    const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
    const std::string screenshot =
        at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].toStdString() : "";
    return app.Run([&](VF1main& window) {
        if (timing) ReportFirstPaint(window, start);
        if (!screenshot.empty()) OpenForScreenshot(window, screenshot);
    });
}
