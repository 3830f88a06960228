// The window finds the devices chosen in the MIDI settings by name when the device lists have
// moved, asks when one is gone and another stands in its place, and lists the devices anew each
// time the MIDI settings open.

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include "midi/VF1MIDI.h"
#include "midi/VF1Settings.h"
#include "midi/drivers/MidiSystem.h"
#include "model/Report.h"
#include "tests/support/JackPorts.h"
#include "tests/support/JackServer.h"
#include "tests/support/TestDrivers.h"
#include "ui/dialogs/VF1MIDIDlg.h"
#include "ui/editor/VF1main.h"

namespace {

const std::string kA = "JACK: unit A:MIDI IN";
const std::string kB = "JACK: unit B:MIDI IN";
const std::string kC = "JACK: unit C:MIDI IN";
const std::string kOther = "JACK: first:in";
const std::string kIn = "JACK: unit B:MIDI OUT";

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

QStringList Rows(const QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
    return rows;
}

} // namespace

class RememberedDevicesTest : public QObject {
    Q_OBJECT

  private:
    std::string SettingsPath() const { return dir->filePath(QStringLiteral("settings.cfg")).toStdString(); }
    std::string NamesPath() const { return VF1Settings::NamesPath(SettingsPath()); }

    // B chosen at Out index 1, In index 0, as the MIDI settings saved it.
    void ChooseB() {
        WriteText(SettingsPath(), "DevID=00;InIdx=00;OutIdx=01");
        WriteText(NamesPath(), "InIdx=0\nInName=" + kIn + "\nOutIdx=1\nOutName=" + kB + "\n");
    }

    // Runs action on the MIDI settings dialog once it is up (polling, as modal loops run), until
    // the returned timer is deleted.
    std::unique_ptr<QTimer>
    WhenMidiSettingsOpen(std::function<void(VF1MIDIDlg*, QListWidget* outList)> action) {
        auto poll = std::make_unique<QTimer>();
        connect(poll.get(), &QTimer::timeout, this, [timer = poll.get(), action] {
            if (auto* dialog = qobject_cast<VF1MIDIDlg*>(QApplication::activeModalWidget())) {
                timer->stop();
                action(dialog, dialog->findChild<QListWidget*>(QStringLiteral("1010")));
            }
        });
        poll->start(10);
        return poll;
    }

    // Opens the window as the program starts it; a MIDI settings dialog that opens within the
    // first moments is noted, with the Out list it shows, and closed.
    void Start() {
        VF1Settings::Release();
        dialogOpened = false;
        shownOut.clear();
        const auto poll = WhenMidiSettingsOpen([this](VF1MIDIDlg* dialog, QListWidget* outList) {
            dialogOpened = true;
            shownOut = Rows(outList);
            dialog->reject();
        });
        window = std::make_unique<VF1main>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTest::qWait(300);
    }
    void Stop() {
        window.reset();
        VF1Settings::Release();
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<RecordingDriver> driver;
    std::unique_ptr<VF1main> window;
    MessageHandler previousHandler;
    bool dialogOpened = false;
    QStringList shownOut;

  private slots:
    void initTestCase() {
        previousHandler = SetMessageHandler([](const std::string&, MessageStyle) { return 1; });
    }
    void cleanupTestCase() { SetMessageHandler(previousHandler); }

    void init() {
        dir = std::make_unique<QTemporaryDir>();
        VF1Settings::SetPath(SettingsPath());
        driver = std::make_unique<RecordingDriver>();
        VF1MIDI::Instance().SetDriver(driver.get());
    }
    void cleanup() {
        Stop();
        VF1MIDI::Release();
        driver.reset();
        VF1Settings::SetPath("settings.cfg");
    }

    // Another port came before the chosen ones: the window talks to B and C's port at their new
    // places without asking, and the settings follow them there at exit.
    void chosenDeviceFollowedToItsNewIndex() {
        ChooseB();
        driver->outNames = {kOther, kA, kB};
        driver->inNames = {"JACK: first:out", kIn};
        Start();
        QVERIFY(!dialogOpened);
        QCOMPARE(VF1MIDI::Instance().GetOutDevice(), 2u);
        QCOMPARE(VF1MIDI::Instance().GetInDevice(), 1u);
        Stop();
        QCOMPARE(ReadText(SettingsPath()), std::string("DevID=00;InIdx=01;OutIdx=02"));
        QCOMPARE(ReadText(NamesPath()), "InIdx=1\nInName=" + kIn + "\nOutIdx=2\nOutName=" + kB + "\n");
    }

    // B gone and C where B stood: the MIDI settings open by themselves, with the lists as they are.
    void dialogOpensWhenAnotherDeviceStandsInThePlaceOfTheChosenOne() {
        ChooseB();
        driver->outNames = {kA, kC};
        driver->inNames = {kIn};
        Start();
        QVERIFY(dialogOpened);
        QCOMPARE(shownOut, QStringList({QString::fromStdString(kA), QString::fromStdString(kC)}));
    }

    // The same over a JACK server of the test's own, with the device names as JACK and RtMidi
    // give them.
    void overJackTheDialogOpensWhenAnotherUnitStandsInThePlaceOfTheChosenOne() {
        if (JackServer::FindJackd().empty())
            QSKIP("jackd is not installed, so there is no MIDI server to test over (scripts/test "
                  "installs the jackd2 package)");
        JackServer server;
        QVERIFY2(server.Running(), server.Error().c_str());
        JackPorts a("unit A");
        auto b = std::make_unique<JackPorts>("unit B");
        QVERIFY(a.Open() && b->Open());
        MidiSystem system;
        VF1MIDI::Instance().SetDriver(&system);
        const std::vector<std::string> before = system.OutDeviceNames();
        const auto at = std::find(before.begin(), before.end(), "JACK: unit B:in");
        QVERIFY(at != before.end());
        const int index = static_cast<int>(at - before.begin());
        WriteText(SettingsPath(),
                  "DevID=00;InIdx=00;OutIdx=" + std::string(index < 10 ? "0" : "") + std::to_string(index));
        WriteText(NamesPath(),
                  "InIdx=0\nInName=\nOutIdx=" + std::to_string(index) + "\nOutName=" + *at + "\n");

        b.reset();
        JackPorts c("unit C");
        QVERIFY(c.Open());
        const std::vector<std::string> now = system.OutDeviceNames();
        QCOMPARE(now.at(index), std::string("JACK: unit C:in"));
        Start();
        QVERIFY(dialogOpened);
        QVERIFY(shownOut.contains(QStringLiteral("JACK: unit C:in")));
        QVERIFY(!shownOut.contains(QStringLiteral("JACK: unit B:in")));
        Stop();
        VF1MIDI::Release();
    }

    // Without names (a settings.cfg of an earlier version), or with the chosen device gone and
    // nothing in its place, the stored indexes hold and nobody is asked.
    void storedIndexesHoldWithoutNamesOrWhenNothingStandsThere() {
        WriteText(SettingsPath(), "DevID=00;InIdx=00;OutIdx=01");
        driver->outNames = {kOther, kA, kB};
        driver->inNames = {kIn};
        Start();
        QVERIFY(!dialogOpened);
        QCOMPARE(VF1MIDI::Instance().GetOutDevice(), 1u);
        Stop();
        QCOMPARE(ReadText(SettingsPath()), std::string("DevID=00;InIdx=00;OutIdx=01"));
        // The names of the devices at those indexes are remembered from now on.
        QCOMPARE(ReadText(NamesPath()), "InIdx=0\nInName=" + kIn + "\nOutIdx=1\nOutName=" + kA + "\n");

        ChooseB();
        driver->outNames = {kA};
        Start();
        QVERIFY(!dialogOpened);
        QCOMPARE(VF1MIDI::Instance().GetOutDevice(), 1u);
        Stop();
        // B is still the one to find when it comes back.
        QCOMPARE(ReadText(NamesPath()), "InIdx=0\nInName=" + kIn + "\nOutIdx=1\nOutName=" + kB + "\n");
    }

    // A device plugged in after the start shows when the MIDI settings open, and the chosen one
    // stays selected where the list has moved.
    void dialogListsTheDevicesAnewEachTimeItOpens() {
        ChooseB();
        driver->outNames = {kA, kB};
        driver->inNames = {kIn};
        Start();
        QVERIFY(!dialogOpened);
        driver->outNames = {kC, kA, kB};
        QStringList rows;
        int selected = -2;
        const auto poll = WhenMidiSettingsOpen([&rows, &selected](VF1MIDIDlg* dialog, QListWidget* outList) {
            rows = Rows(outList);
            selected = outList->currentRow();
            dialog->accept();
        });
        window->OpenMidiSettings();
        QCOMPARE(rows, QStringList({QString::fromStdString(kC), QString::fromStdString(kA),
                                    QString::fromStdString(kB)}));
        QCOMPARE(selected, 2);
        QCOMPARE(VF1MIDI::Instance().GetOutDevice(), 2u);
    }
};

QTEST_MAIN(RememberedDevicesTest)
#include "RememberedDevices_test.moc"
