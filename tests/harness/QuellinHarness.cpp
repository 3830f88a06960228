// The window as build/quellin opens it, with two modes for the scripts that look at it:
//
//   quellin_harness --startup-timing     prints the time from main to the first painted frame of
//                                        the main window and the memory held then, and quits;
//   quellin_harness --screenshot NAME    opens one of the dialogs after start (message, midi,
//                                        about, receive-patch, receive-bank, send-bank), shows
//                                        the Global section (expanded), the bank manager with
//                                        two banks (banks), an algorithm's diagram (algorithm-N)
//                                        or a block's panel (panel-master, panel-modulation,
//                                        panel-delay), for scripts/screenshot.

#include <QApplication>
#include <QComboBox>
#include <QTest>
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
#include "model/tables/AlgorithmInfo.h"
#include "tests/support/TestSupport.h"
#include "ui/dialogs/VF1SendBankDlg.h"
#include "ui/editor/VF1FXButton.h"
#include "ui/editor/VF1FXControlWnd.h"
#include "ui/editor/VF1main.h"
#include "ui/librarian/VF1BankDlg.h"

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

// Two banks of named patches, written to the current folder and opened in the bank manager; bank
// 2 then takes a patch from bank 1, so that its name box shows unsaved changes, and "Patch ->
// Bank" puts the editor's patch in the holder.
void ShowBanks(VF1main& window) {
    VF1BankDlg* manager = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<VF1BankDlg*>(top)) manager = found;
    if (manager == nullptr) return;
    const std::vector<std::vector<const char*>> names = {
        {"Clean Amp", "Crunch Rhy", "Lead Boost", "Tape Echo",  "Big Hall",  "Vox Plate",
         "Bass Comp", "Wah Funk",   "Octa Lead",  "Chorus Pad", "Shimmer",   "Slapback",
         "Phase 90",  "Rotary",     "Drum Room",  "Piano Amb",  "Dub Delay", "Sitar Sim",
         "Vocoder",   "Mic Sim",    "Lo-Fi",      "Gated Verb", "Flanger",   "Tremolo"},
        {"Master EQ", "Mix Bus", "Vox Comp", "Snare Gate", "Kick Tight", "Bass DI", "Room Mics", "Plate 2s",
         "Hall 3s", "Spring Vrb", "Tape Sat", "Ping Pong", "Stereo Wid", "De-Esser", "Lim -0.3", "Hum Kill"}};
    const char* files[] = {"live-set.syx", "studio.syx"};
    for (int b = 0; b < 2; ++b) {
        const std::vector<uint8_t> bytes = MakeBankFile([&](int slot) {
            const bool named = slot < static_cast<int>(names[b].size());
            return FreshPatch{AlgorithmAtRow(named ? (slot * 7 + b * 3) % kAlgorithmCount : 0),
                              named ? names[b][slot] : "Init"};
        });
        std::ofstream(files[b], std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        manager->LoadBankFile(b + 1, QString::fromLatin1(files[b]));
    }
    manager->List(2)->DropFrom(manager->List(1), 3, 1, DropEffect::Insert);
    QTest::mouseClick(window.ControlById(VF1main::kPatchToBank), Qt::LeftButton);
    window.ShowBankManager();
}

// The current patch becomes a fresh patch of the algorithm, as choosing it in the Algorithm list does.
void ChooseAlgorithm(VF1main& window, int algorithm) {
    auto* list = qobject_cast<QComboBox*>(window.ControlById(VF1main::kAlgorithmList));
    list->setCurrentIndex(AlgorithmRow(algorithm));
    emit list->activated(list->currentIndex());
}

// Panels that show every kind of control between them: the Master's (all six), a modulation
// slot's (option buttons and sliders) and a delay's (time sliders with their two modes).
bool ShowPanel(VF1main& window, const std::string& name) {
    struct Shown {
        const char* name;
        int algorithm;
        int pair; // in diagram order; -1 the Master
    };
    static constexpr Shown kPanels[] = {
        {"panel-master", 0, -1}, {"panel-modulation", 4, 4}, {"panel-delay", 19, 1}};
    for (const Shown& panel : kPanels) {
        if (name != panel.name) continue;
        ChooseAlgorithm(window, panel.algorithm);
        const auto& pairs = window.Diagram()->GetPairs();
        pairs[panel.pair < 0 ? pairs.size() - 1 : size_t(panel.pair)]->button->click();
        return true;
    }
    return false;
}

void OpenForScreenshot(VF1main& window, const std::string& name) {
    QTimer::singleShot(300, &window, [&window, name] {
        VF1MIDI& midi = VF1MIDI::Instance();
        if (ShowPanel(window, name)) return;
        if (name == "banks") {
            ShowBanks(window);
        } else if (name.rfind("algorithm-", 0) == 0) {
            ChooseAlgorithm(window, std::atoi(name.c_str() + 10));
        } else if (name == "expanded") {
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
