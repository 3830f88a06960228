#pragma once
// What the window tests share: a settings file of their own in a temporary folder, the built-in
// virtual unit as the program's MIDI device (answering at once, no wire pacing), and the program's
// messages recorded and answered with `answer` instead of shown.
//
// A test class derives from it beside QObject and calls RecordMessages / StopRecording from
// initTestCase / cleanupTestCase, StartUnit from init and StopUnit from cleanup, once its windows
// are gone.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "midi/VF1MIDI.h"
#include "midi/VF1Settings.h"
#include "midi/drivers/MidiSystem.h"
#include "midi/drivers/VirtualUnitDriver.h"
#include "model/Report.h"

// What the unit hears: "command address length" per message, joined by " | ". The unit reports
// from its own thread.
class HeardLog {
  public:
    void Add(const VirtualUnit::Received& m) {
        const std::lock_guard lock(mutex);
        lines << QString::fromStdString(
            Format("%02X %02X %02X %02X %zu", m.command, m.address[0], m.address[1], m.address[2], m.length));
    }
    QString Heard() {
        const std::lock_guard lock(mutex);
        return lines.join(QStringLiteral(" | "));
    }
    QString Take() {
        const std::lock_guard lock(mutex);
        const QString heard = lines.join(QStringLiteral(" | "));
        lines.clear();
        return heard;
    }
    void Clear() {
        const std::lock_guard lock(mutex);
        lines.clear();
    }

  private:
    std::mutex mutex;
    QStringList lines;
};

// The three messages of a patch sent to the edit buffer, as the log above has them.
inline const QString kPatchSend = QStringLiteral("12 10 00 00 175 | 12 10 01 24 235 | 12 60 00 00 13");

class VirtualUnitRig {
  protected:
    void RecordMessages() {
        previousHandler = SetMessageHandler([this](const std::string& text, MessageStyle) {
            messages.push_back(text);
            return answer;
        });
    }
    void StopRecording() { SetMessageHandler(previousHandler); }

    // A fresh settings folder and unit; nothing recorded yet, and questions answered 1.
    void StartUnit() {
        dir = std::make_unique<QTemporaryDir>();
        VF1Settings::SetPath(dir->filePath(QStringLiteral("settings.cfg")).toStdString());
        devices = std::make_unique<MidiSystem>(false);
        devices->Virtual().SetPacing(0);
        VF1MIDI::Instance().SetDriver(devices.get());
        messages.clear();
        answer = 1;
    }
    // Leaves nothing of the test behind: no MIDI object, driver or settings, and the settings
    // path as the program has it.
    void StopUnit() {
        VF1MIDI::Instance().SetDriver(nullptr);
        VF1MIDI::Release();
        devices.reset();
        VF1Settings::Release();
        VF1Settings::SetPath("settings.cfg");
        dir.reset();
    }

    VirtualUnit& Unit() { return devices->Virtual().Unit(); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MidiSystem> devices;
    std::vector<std::string> messages;
    // What the recorded messages answer: 1 OK or Yes, 2 No.
    int answer = 1;

  private:
    MessageHandler previousHandler;
};
