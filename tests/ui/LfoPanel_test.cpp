// The MIDI LFO's panel on the offscreen platform, driven with real widget events, playing to the
// built-in virtual unit: its start-up state, the rate from a tempo and the fields' checks, Start
// and Stop, and its place in the main window, where a patch send stops it first.

#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <string>
#include <vector>

#include "midi/VF1MIDI.h"
#include "midi/VF1Settings.h"
#include "midi/drivers/MidiSystem.h"
#include "midi/drivers/VirtualUnitDriver.h"
#include "model/Report.h"
#include "tests/ui/VirtualUnitRig.h"
#include "ui/dialogs/DialogTransfers.h"
#include "ui/editor/VF1main.h"
#include "ui/lfo/MIDILFOControlsDlg.h"
#include "ui/widgets/Colours.h"

namespace {

using Id = MIDILFOControlsDlg::ControlId;

QStringList Items(QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items;
}

void ClickOn(QWidget* widget) {
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      widget->mapTo(window, widget->rect().center()));
}

QStringList Numbers(int last) {
    QStringList items;
    for (int n = 1; n <= last; ++n) items << QString::number(n);
    return items;
}

} // namespace

class LfoPanelTest : public QObject, VirtualUnitRig {
    Q_OBJECT

  private:
    template <class T> T* C(int id) { return qobject_cast<T*>(panel->ControlById(id)); }
    QString Button() { return C<QPushButton>(Id::kStartStop)->text(); }
    // Through the window, as the platform delivers a click: the application knows the button is
    // down while the press is handled.
    void Click(int id) { ClickOn(panel->ControlById(id)); }
    // Types into a box and moves the focus on with Tab, as a user leaves a box.
    void Type(int id, const QString& text) {
        auto* box = C<QLineEdit>(id);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    bool WaitForControllers(int n) {
        return QTest::qWaitFor([&] { return Unit().ControllerMessages() >= n; }, 5000);
    }

    std::unique_ptr<QWidget> window;
    MIDILFOControlsDlg* panel = nullptr;

  private slots:
    void initTestCase() { RecordMessages(); }
    void cleanupTestCase() { StopRecording(); }

    void init() {
        StartUnit();
        VF1MIDI::Instance().SetOutDevice(0);
        window = std::make_unique<QWidget>();
        panel = new MIDILFOControlsDlg(VF1MIDI::Instance(), window.get());
        window->resize(panel->size() + QSize(20, 20));
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup() {
        window.reset();
        StopUnit();
    }

    // Every list with its items, every box and the selections the panel starts with; no message
    // at start-up; each list and box named by its label, as assistive technology reads them.
    void startsAsTheTemplateSays() {
        QCOMPARE(Items(C<QComboBox>(Id::kChannelList)), Numbers(16));
        QCOMPARE(Items(C<QComboBox>(Id::kControllerList)), Numbers(95));
        QCOMPARE(Items(C<QComboBox>(Id::kWaveList)),
                 QStringList({"Sine", "Triangle", "Square", "Saw Up", "Saw Down"}));
        QCOMPARE(Items(C<QComboBox>(Id::kTimeSigList)), QStringList({"2/4", "3/4", "4/4", "5/4"}));
        QCOMPARE(Items(C<QComboBox>(Id::kCyclesList)), Numbers(16));
        const std::pair<int, int> selected[] = {{Id::kChannelList, 0},
                                                {Id::kControllerList, 0},
                                                {Id::kWaveList, 0},
                                                {Id::kTimeSigList, 2},
                                                {Id::kCyclesList, 0}};
        for (const auto& [id, index] : selected) QCOMPARE(C<QComboBox>(id)->currentIndex(), index);
        QCOMPARE(C<QLineEdit>(Id::kRateEdit)->text(), QStringLiteral("0.1"));
        QCOMPARE(C<QLineEdit>(Id::kTempoEdit)->text(), QStringLiteral("120"));
        QCOMPARE(Button(), QStringLiteral("Start"));
        QCOMPARE(C<QGroupBox>(Id::kGroup)->title(), QStringLiteral("LFO"));
        QVERIFY(messages.empty());
        QVERIFY(!panel->IsRunning());

        const std::pair<int, const char*> names[] = {
            {Id::kChannelList, "Channel"}, {Id::kControllerList, "CC#"},   {Id::kWaveList, "Wave"},
            {Id::kTempoEdit, "BPM"},       {Id::kTimeSigList, "Time Sig"}, {Id::kCyclesList, "Cycles / bar"},
            {Id::kRateEdit, "Hz"},         {Id::kStartStop, "Start"},      {Id::kGroup, "LFO"}};
        for (const auto& [id, name] : names) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(panel->ControlById(id));
            QVERIFY(a != nullptr);
            QCOMPARE(a->text(QAccessible::Name), QString::fromLatin1(name));
        }
        // Lime boxes with dark green text on the red panel.
        QCOMPARE(C<QLineEdit>(Id::kRateEdit)->palette().color(QPalette::Base), Colours::Lime);
        QCOMPARE(C<QComboBox>(Id::kWaveList)->palette().color(QPalette::ButtonText), Colours::DarkGreen);
        QCOMPARE(panel->palette().color(QPalette::Window), Colours::Red);
        QCOMPARE(panel->size(), MIDILFOControlsDlg::PanelSize());
    }

    // Start right after start-up: a sine on channel 1, controller 1 at 0.1 Hz reaches the unit;
    // Stop ends it and leaves nothing busy.
    void startAndStop() {
        Click(Id::kStartStop);
        QCOMPARE(Button(), QStringLiteral("Stop"));
        QVERIFY(panel->IsRunning());
        QCOMPARE(panel->Engine().Channel(), 1);
        QCOMPARE(panel->Engine().Controller(), 1);
        QCOMPARE(panel->Engine().Wave(), 0);
        QCOMPARE(panel->Engine().Rate(), 0.1f);
        QVERIFY(WaitForControllers(2));
        Click(Id::kStartStop);
        QCOMPARE(Button(), QStringLiteral("Start"));
        QVERIFY(!panel->IsRunning());
        QVERIFY(!panel->StreamBusy());
        QVERIFY(messages.empty());
    }

    // The lists set the engine at once; leaving a box with a good rate sets the rate.
    void listsAndRateBox() {
        C<QComboBox>(Id::kChannelList)->setCurrentIndex(9);
        C<QComboBox>(Id::kControllerList)->setCurrentIndex(6);
        C<QComboBox>(Id::kWaveList)->setCurrentIndex(2);
        QCOMPARE(panel->Engine().Channel(), 10);
        QCOMPARE(panel->Engine().Controller(), 7);
        QCOMPARE(panel->Engine().Wave(), 2);
        Type(Id::kRateEdit, QStringLiteral("2.5"));
        QCOMPARE(panel->Engine().Rate(), 2.5f);
        QVERIFY(messages.empty());
    }

    // Tempo 120, 4/4, 1 cycle per bar gives 0.500000 Hz; 250, 2/4, 16 cycles gives 33.333332,
    // which fails, and the engine keeps its rate.
    void rateFromTempo() {
        Type(Id::kTempoEdit, QStringLiteral("120"));
        QCOMPARE(C<QLineEdit>(Id::kRateEdit)->text(), QStringLiteral("0.500000"));
        QCOMPARE(panel->Engine().Rate(), 0.5f);
        C<QComboBox>(Id::kCyclesList)->setCurrentIndex(3);
        QCOMPARE(C<QLineEdit>(Id::kRateEdit)->text(), QStringLiteral("2.000000"));
        QCOMPARE(panel->Engine().Rate(), 2.0f);
        QVERIFY(messages.empty());

        Type(Id::kTempoEdit, QStringLiteral("250"));
        C<QComboBox>(Id::kTimeSigList)->setCurrentIndex(0);
        C<QComboBox>(Id::kCyclesList)->setCurrentIndex(15);
        QCOMPARE(C<QLineEdit>(Id::kRateEdit)->text(), QStringLiteral("33.333332"));
        QVERIFY(!messages.empty());
        QCOMPARE(messages.back(), std::string("Please enter a number between 0.01 and 10."));
        QCOMPARE(panel->Engine().Rate(), 8.333333f); // 250, 2/4, 4 cycles, just before
        QCOMPARE(QApplication::focusWidget(), panel->ControlById(Id::kRateEdit));
    }

    // Start with a rate that is no number, or out of range: one message each time, the focus in
    // the box, and the button stays at "Start". A tempo out of range likewise.
    void startWithBadFields() {
        struct Case {
            int box;
            const char* text;
            const char* message;
        };
        const Case cases[] = {
            {Id::kRateEdit, "abc", "Please enter a number."},
            {Id::kRateEdit, "12", "Please enter a number between 0.01 and 10."},
            {Id::kTempoEdit, "20", "Please enter a number between 50 and 250."},
        };
        for (const Case& c : cases) {
            messages.clear();
            auto* box = C<QLineEdit>(c.box);
            box->setFocus();
            box->setText(QString::fromLatin1(c.text));
            // The click takes the focus from the box, then presses the button.
            Click(Id::kStartStop);
            QTRY_VERIFY(!messages.empty());
            QTest::qWait(50);
            QCOMPARE(messages, std::vector<std::string>{c.message});
            QCOMPARE(Button(), QStringLiteral("Start"));
            QVERIFY(!panel->IsRunning());
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box));
            box->setText(c.box == Id::kRateEdit ? QStringLiteral("0.1") : QStringLiteral("120"));
        }
        QCOMPARE(Unit().ControllerMessages(), 0);
    }

    // A device that cannot be opened as a stream: the message, and the panel stays stopped.
    void deviceThatCannotOpen() {
        VF1MIDI::Instance().SetOutDevice(7);
        Click(Id::kStartStop);
        QCOMPARE(messages, std::vector<std::string>{
                               "Error sending SysEx! Make sure you've selected a valid MIDI Out Device."});
        QCOMPARE(Button(), QStringLiteral("Start"));
        QVERIFY(!panel->StreamBusy());
    }
};

// The panel in the main window: below the Global section, shown and hidden with it; a patch send
// while the LFO runs stops it first and puts the button back to "Start".
class LfoInWindowTest : public QObject, VirtualUnitRig {
    Q_OBJECT

  private slots:
    void panelBelowGlobalAndStoppedBySend() {
        RecordMessages();
        StartUnit();
        {
            VF1main window;
            DialogTransfers transfers(&window);
            VF1MIDI::Instance().SetDialogs(&transfers);
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            auto* lfo = window.findChild<MIDILFOControlsDlg*>();
            QVERIFY(lfo != nullptr);
            QCOMPARE(VF1MIDI::Instance().GetLFODialog(), static_cast<LfoControl*>(lfo));
            const QRect global = window.ControlById(VF1main::kGlobalGroup)->geometry();
            QCOMPARE(lfo->pos(), QPoint(global.left() - 4, global.bottom() + 1 + 10));
            QVERIFY2(!lfo->isVisible(), "hidden with the collapsed section");
            window.ToggleGlobalSection();
            QVERIFY(lfo->geometry().right() < window.width());
            QVERIFY(lfo->geometry().bottom() < window.height());
            QVERIFY(lfo->isVisible());

            ClickOn(lfo->ControlById(MIDILFOControlsDlg::kStartStop));
            QVERIFY(lfo->IsRunning());
            VirtualUnit& unit = Unit();
            QVERIFY(QTest::qWaitFor([&] { return unit.ControllerMessages() > 0; }, 5000));
            const int good = unit.GoodMessages();
            ClickOn(window.ControlById(VF1main::kSend));
            QVERIFY(!lfo->IsRunning());
            QVERIFY(!lfo->StreamBusy());
            QCOMPARE(qobject_cast<QPushButton*>(lfo->ControlById(MIDILFOControlsDlg::kStartStop))->text(),
                     QStringLiteral("Start"));
            QVERIFY(unit.GoodMessages() > good);
            QVERIFY(messages.empty());
            VF1MIDI::Instance().SetDialogs(nullptr);
        }
        QCOMPARE(VF1MIDI::Instance().GetLFODialog(), nullptr);
        StopUnit();
        StopRecording();
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    LfoPanelTest panel;
    LfoInWindowTest inWindow;
    return QTest::qExec(&panel, argc, argv) | QTest::qExec(&inWindow, argc, argv);
}

#include "LfoPanel_test.moc"
