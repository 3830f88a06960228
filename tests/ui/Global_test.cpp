// The Global section and the randomiser in the main window on the offscreen platform, talking to
// the built-in virtual unit: what the lists show, what "Get", "Set" and "Tap" do, and what the
// unit hears when a block or a patch is randomised.

#include <QAccessible>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "midi/VF1MIDI.h"
#include "midi/VF1Settings.h"
#include "midi/drivers/MidiSystem.h"
#include "midi/drivers/VirtualUnitDriver.h"
#include "model/Random.h"
#include "model/RealTime.h"
#include "model/Report.h"
#include "model/SysEx.h"
#include "model/tables/AlgorithmInfo.h"
#include "tests/ui/VirtualUnitRig.h"
#include "ui/editor/VF1GlobalSection.h"
#include "ui/editor/VF1main.h"
#include "ui/widgets/MokCheckBox.h"

namespace {

using Id = VF1GlobalSection::ControlId;
using Values = std::array<int, 6>; // out level, NS threshold, reverb level, output, tempo, direct mix

std::array<uint8_t, 24> Record(const Values& values) {
    std::array<uint8_t, 24> record{};
    for (size_t i = 0; i < 6; ++i) {
        const auto nibbles = NibbleEncode16(values[i]);
        std::copy(nibbles.begin(), nibbles.end(), record.begin() + 4 * i);
    }
    return record;
}

Values Decode(const std::array<uint8_t, 24>& record) {
    Values values{};
    for (size_t i = 0; i < 6; ++i) values[i] = NibbleDecode16(record.data() + 4 * i);
    return values;
}

PatchData DataOf(VF1Algorithm& patch) {
    PatchData data{};
    patch.WritePatchData(data.data());
    return data;
}

std::vector<int> ValuesOf(VF1Effect& block) {
    std::vector<int> values;
    for (VF1Param* param : block.LiveParams()) values.push_back(param->GetValue());
    return values;
}

} // namespace

Q_DECLARE_METATYPE(Values)

class GlobalTest : public QObject, VirtualUnitRig {
    Q_OBJECT

  private:
    VF1main& W() { return *window; }
    VF1GlobalSection& Section() { return window->GlobalSection(); }
    template <class T> T* C(int id) { return qobject_cast<T*>(window->ControlById(id)); }
    QComboBox* List(int id) { return C<QComboBox>(id); }
    void Click(int id) { QTest::mouseClick(window->ControlById(id), Qt::LeftButton); }
    void Expand() {
        if (!W().IsExpanded()) Click(VF1main::kExpand);
    }
    // The unit's globals, as "Set" would leave them.
    void SetUnitGlobals(const Values& values) {
        const auto record = Record(values);
        QVERIFY(VF1MIDI::Instance().SetGlobal(record.data()));
        QCOMPARE(Unit().Global(), record);
    }
    void ChooseAlgorithm(int number) {
        QComboBox* list = List(VF1main::kAlgorithmList);
        list->setCurrentIndex(AlgorithmRow(number));
        emit list->activated(AlgorithmRow(number));
    }
    // Real-time editing on, as a send to the edit buffer leaves it; the unit's log emptied.
    void StartRealTime() {
        log.Clear();
        Click(VF1main::kSend);
        QVERIFY(RealTimeEdits());
        QCOMPARE(log.Heard(), kPatchSend);
        log.Clear();
    }

    std::unique_ptr<VF1main> window;
    HeardLog log;

  private slots:
    void initTestCase() { RecordMessages(); }
    void cleanupTestCase() { StopRecording(); }

    void init() {
        StartUnit();
        window = std::make_unique<VF1main>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        Unit().SetListener([this](const VirtualUnit::Received& m) { log.Add(m); });
        log.Clear();
    }

    void cleanup() {
        Unit().SetListener({});
        window.reset();
        StopUnit();
        SetRealTimeEdits(false);
        SetRandomSource({});
    }

    void listsAndPresets_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("name");
        QTest::newRow("Out Level") << int(Id::kOutLevelList) << 101 << "200%"
                                   << "0%"
                                   << "100%"
                                   << "Out Level";
        QTest::newRow("NS Thresh") << int(Id::kNsThreshList) << 41 << "20 dB"
                                   << "-20 dB"
                                   << "0 dB"
                                   << "NS Thresh";
        QTest::newRow("Rev Lvl") << int(Id::kRevLevelList) << 101 << "200%"
                                 << "0%"
                                 << "100%"
                                 << "Rev Lvl";
        QTest::newRow("Direct Mix") << int(Id::kDirectMixList) << 2 << "Off"
                                    << "Patch"
                                    << "Off"
                                    << "Direct Mix";
        QTest::newRow("BPM") << int(Id::kBpmList) << 211 << "250"
                             << "40"
                             << "120"
                             << "BPM";
        QTest::newRow("Output") << int(Id::kOutputList) << 5 << "Gtr Amp (Combo)"
                                << "Line"
                                << "Gtr Amp (Combo)"
                                << "Output";
    }

    void listsAndPresets() {
        QFETCH(int, id);
        QFETCH(int, count);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, shown);
        QFETCH(QString, name);
        QComboBox* list = List(id);
        // Out of sight until ">" widens the window, and then inside it.
        QVERIFY(!list->isVisible());
        Expand();
        QVERIFY(list->isVisible());
        QVERIFY(list->geometry().right() < W().width());
        QCOMPARE(list->count(), count);
        QCOMPARE(list->itemText(0), first);
        QCOMPARE(list->itemText(count - 1), last);
        QCOMPARE(list->currentText(), shown);
        // The label beside the list names it for assistive technology.
        const auto labels = QAccessible::queryAccessibleInterface(list)->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->text(QAccessible::Name), name);
    }

    void sectionShowsAndHidesWithTheWindowWidth() {
        const int collapsed = W().width();
        QCOMPARE(C<MokCheckBox>(Id::kInternalTempo)->GetCheck(), 1);
        QCOMPARE(C<MokCheckBox>(Id::kMidiTempo)->GetCheck(), 0);
        QVERIFY(C<MokCheckBox>(Id::kMidiTempo)->IsRadio());
        for (const int id : {int(Id::kGroup), int(Id::kGet), int(Id::kMidiTempo)})
            QVERIFY(!W().ControlById(id)->isVisible());
        Expand();
        for (const int id : {int(Id::kGroup), int(Id::kGet), int(Id::kMidiTempo)})
            QVERIFY(W().ControlById(id)->isVisible());
        // The group box that only groups the two radios is never seen.
        QVERIFY(!W().ControlById(Id::kTempoGroup)->isVisible());
        Click(VF1main::kExpand);
        QCOMPARE(W().width(), collapsed);
        QVERIFY(!W().ControlById(Id::kGet)->isVisible());
    }

    void tempoSourceRadios() {
        Expand();
        Click(Id::kMidiTempo);
        QCOMPARE(C<MokCheckBox>(Id::kMidiTempo)->GetCheck(), 1);
        QCOMPARE(C<MokCheckBox>(Id::kInternalTempo)->GetCheck(), 0);
        // Clicking the checked one leaves it checked.
        Click(Id::kMidiTempo);
        QCOMPARE(C<MokCheckBox>(Id::kMidiTempo)->GetCheck(), 1);
        Click(Id::kInternalTempo);
        QCOMPARE(C<MokCheckBox>(Id::kInternalTempo)->GetCheck(), 1);
        QCOMPARE(C<MokCheckBox>(Id::kMidiTempo)->GetCheck(), 0);
    }

    void setSendsWhatTheControlsShow_data() {
        QTest::addColumn<QStringList>("choices"); // list texts to pick, in list order
        QTest::addColumn<bool>("midiTempo");
        QTest::addColumn<Values>("expected");
        QTest::newRow("as started") << QStringList{} << false << Values{50, 20, 50, 0, 120, 0};
        QTest::newRow("every list at one end") << QStringList{"200%", "-20 dB", "0%", "Patch", "40", "Line"}
                                               << false << Values{100, 0, 0, 4, 40, 1};
        QTest::newRow("MIDI tempo whatever the BPM list shows")
            << QStringList{"2%", "20 dB", "198%", "Off", "250", "Pwr Amp (Stack)"} << true
            << Values{1, 40, 99, 3, 251, 0};
    }

    void setSendsWhatTheControlsShow() {
        QFETCH(QStringList, choices);
        QFETCH(bool, midiTempo);
        QFETCH(Values, expected);
        Expand();
        const int lists[] = {Id::kOutLevelList,  Id::kNsThreshList, Id::kRevLevelList,
                             Id::kDirectMixList, Id::kBpmList,      Id::kOutputList};
        for (int i = 0; i < choices.size(); ++i) {
            QComboBox* list = List(lists[i]);
            list->setCurrentIndex(list->findText(choices[i]));
            QVERIFY(list->currentIndex() >= 0);
        }
        if (midiTempo) Click(Id::kMidiTempo);
        Click(Id::kSet);
        QCOMPARE(Decode(Unit().Global()), expected);
        QCOMPARE(log.Heard(), QStringLiteral("12 08 01 1C 35"));
        QVERIFY(messages.empty());
    }

    void getFillsTheControls_data() {
        QTest::addColumn<Values>("unit");
        QTest::addColumn<QStringList>("shown"); // the six lists' texts; "" for no entry
        QTest::addColumn<bool>("midiTempo");
        QTest::newRow("values") << Values{0, 40, 100, 4, 40, 1}
                                << QStringList{"0%", "20 dB", "200%", "Patch", "40", "Line"} << false;
        QTest::newRow("MIDI tempo keeps the BPM list")
            << Values{75, 5, 25, 2, 251, 0}
            << QStringList{"150%", "-15 dB", "50%", "Off", "99", "Pwr Amp (Combo)"} << true;
        QTest::newRow("out of range selects nothing")
            << Values{150, 41, 101, 5, 300, 2} << QStringList{"", "", "", "", "", ""} << false;
    }

    void getFillsTheControls() {
        QFETCH(Values, unit);
        QFETCH(QStringList, shown);
        QFETCH(bool, midiTempo);
        Expand();
        // The user has chosen a tempo but not set it.
        List(Id::kBpmList)->setCurrentIndex(List(Id::kBpmList)->findText(QStringLiteral("99")));
        SetUnitGlobals(unit);
        log.Clear();
        Click(Id::kGet);
        const int lists[] = {Id::kOutLevelList,  Id::kNsThreshList, Id::kRevLevelList,
                             Id::kDirectMixList, Id::kBpmList,      Id::kOutputList};
        for (int i = 0; i < 6; ++i) QCOMPARE(List(lists[i])->currentText(), shown[i]);
        QCOMPARE(C<MokCheckBox>(Id::kMidiTempo)->GetCheck(), midiTempo ? 1 : 0);
        QCOMPARE(C<MokCheckBox>(Id::kInternalTempo)->GetCheck(), midiTempo ? 0 : 1);
        QCOMPARE(log.Heard(), QStringLiteral("11 08 01 1C 14"));
        log.Clear();

        // "Set" straight after gives the unit back what it gave, also where a list shows nothing.
        Click(Id::kSet);
        Values back = unit;
        if (midiTempo) back[4] = 251;
        QCOMPARE(Decode(Unit().Global()), back);
        QVERIFY(messages.empty());
    }

    void failedGetChangesNothing() {
        Expand();
        SetUnitGlobals({0, 0, 0, 4, 251, 1});
        // The unit answers only its own device ID: the request goes unanswered.
        VF1MIDI::Instance().SetDeviceID(5);
        Click(Id::kGet);
        for (const int id : {Id::kOutLevelList, Id::kNsThreshList, Id::kRevLevelList, Id::kBpmList})
            QCOMPARE(List(id)->currentIndex(), id == Id::kNsThreshList ? 20 : id == Id::kBpmList ? 130 : 50);
        QCOMPARE(List(Id::kOutputList)->currentIndex(), 0);
        QCOMPARE(List(Id::kDirectMixList)->currentIndex(), 0);
        QCOMPARE(C<MokCheckBox>(Id::kInternalTempo)->GetCheck(), 1);
        QVERIFY(messages.empty());
    }

    void tapTempo_data() {
        QTest::addColumn<QList<uint32_t>>("taps"); // tick counts in ms
        QTest::addColumn<QString>("shown");
        QTest::newRow("500 ms gives 120") << QList<uint32_t>{1000, 1500} << "120";
        QTest::newRow("501 ms cuts 119.76 to 119") << QList<uint32_t>{1000, 1501} << "119";
        QTest::newRow("a tap after 4 s starts a run and keeps 120")
            << QList<uint32_t>{1000, 1500, 5500} << "120";
        QTest::newRow("3 s still counts") << QList<uint32_t>{1000, 4000} << "40";
        QTest::newRow("100 ms clamps at 250") << QList<uint32_t>{1000, 1100} << "250";
        QTest::newRow("same tick clamps at 250") << QList<uint32_t>{1000, 1000} << "250";
        QTest::newRow("2 s clamps at 40") << QList<uint32_t>{1000, 3000} << "40";
        QTest::newRow("the first tap shows the last run's tempo")
            << QList<uint32_t>{1000, 1750, 9000} << "80";
        QTest::newRow("a new run forgets the old one") << QList<uint32_t>{1000, 3000, 9000, 9500} << "120";
        // A 2 s interval, then eight of 500 ms: only the last eight count.
        QTest::newRow("last eight intervals")
            << QList<uint32_t>{1000, 3000, 3500, 4000, 4500, 5000, 5500, 6000, 6500, 7000} << "120";
        QTest::newRow("eight with the 2 s one")
            << QList<uint32_t>{1000, 3000, 3500, 4000, 4500, 5000, 5500, 6000, 6500} << "87";
        QTest::newRow("tick count wraps") << QList<uint32_t>{0xFFFFFF00u, 0xFFFFFF00u + 500u} << "120";
    }

    void tapTempo() {
        QFETCH(QList<uint32_t>, taps);
        QFETCH(QString, shown);
        Expand();
        Click(Id::kMidiTempo);
        uint32_t now = 0;
        Section().SetTapClock([&now] { return now; });
        for (const uint32_t t : taps) {
            now = t;
            Click(Id::kTap);
        }
        QCOMPARE(List(Id::kBpmList)->currentText(), shown);
        // Tapping neither switches the tempo source nor sends anything.
        QCOMPARE(C<MokCheckBox>(Id::kMidiTempo)->GetCheck(), 1);
        QCOMPARE(log.Heard(), QString());
    }

    void randomizePatchSendsThePatchOnce_data() {
        QTest::addColumn<int>("algorithm");
        for (const AlgorithmInfo& row : AlgorithmTable()) QTest::newRow(row.longName) << row.number;
    }

    void randomizePatchSendsThePatchOnce() {
        QFETCH(int, algorithm);
        ChooseAlgorithm(algorithm);
        if (!RealTimeEdits()) StartRealTime();
        log.Clear();
        VF1Algorithm& patch = *W().Patches().GetCurrent();
        VF1Effect& master = *patch.GetBlock(patch.GetBlockCount() - 1);
        QVERIFY(master.IsMaster());
        const std::vector<int> masterBefore = ValuesOf(master);
        std::vector<int> switches;
        for (int i = 0; i + 1 < patch.GetBlockCount(); ++i)
            switches.push_back(patch.GetBlock(i)->GetParam(0)->GetValue());

        // Several seeds, so that a variable-position effect moves the other one in some runs.
        for (const uint32_t seed : {1u, 2u, 3u}) {
            const PatchData before = DataOf(patch);
            SeedRandom(seed);
            Click(VF1main::kRandomizePatch);
            const QString heard = log.Heard();
            log.Clear();
            QVERIFY2(heard == kPatchSend, qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(heard)));
            QVERIFY(DataOf(patch) != before);
            QCOMPARE(Unit().Patch(-1), DataOf(patch));
            QCOMPARE(ValuesOf(master), masterBefore);
            for (int i = 0; i + 1 < patch.GetBlockCount(); ++i)
                QCOMPARE(patch.GetBlock(i)->GetParam(0)->GetValue(), switches[static_cast<size_t>(i)]);
            QVERIFY(RealTimeEdits());
        }
        QVERIFY(messages.empty());
    }

    void randomizePatchWithoutAutoSendTurnsRealTimeOff() {
        StartRealTime();
        Click(VF1main::kAutoSend);
        QCOMPARE(C<MokCheckBox>(VF1main::kAutoSend)->GetCheck(), 0);
        VF1Algorithm& patch = *W().Patches().GetCurrent();
        const PatchData before = DataOf(patch);
        Click(VF1main::kRandomizePatch);
        QVERIFY(DataOf(patch) != before);
        QVERIFY(!RealTimeEdits());
        QVERIFY(C<MokCheckBox>(VF1main::kRealTimeEdits)->isHidden());
        QTest::qWait(20);
        QCOMPARE(log.Heard(), QString());
    }

    void randomizeEffect_data() {
        QTest::addColumn<bool>("realTime");
        QTest::addColumn<bool>("master");
        QTest::newRow("real-time: one block message") << true << false;
        QTest::newRow("no real-time: nothing sent") << false << false;
        QTest::newRow("the Master: nothing changes") << true << true;
    }

    void randomizeEffect() {
        QFETCH(bool, realTime);
        QFETCH(bool, master);
        if (realTime) {
            StartRealTime();
        } else {
            Click(VF1main::kAutoSend);
            W().ApplyAutoSend();
        }
        QCOMPARE(RealTimeEdits(), realTime);
        log.Clear();
        VF1Algorithm& patch = *W().Patches().GetCurrent();
        patch.SelectBlock(master ? patch.GetBlockCount() - 1 : 0);
        VF1Effect& block = *patch.GetSelectedBlock();
        const std::vector<int> before = ValuesOf(block);
        const int fxSwitch = block.GetParam(0)->GetValue();
        const PatchData patchBefore = DataOf(patch);

        SeedRandom(7);
        Click(VF1main::kRandomizeEffect);
        QCOMPARE(block.GetParam(0)->GetValue(), fxSwitch);
        if (master) {
            QCOMPARE(DataOf(patch), patchBefore);
        } else {
            QVERIFY(ValuesOf(block) != before);
        }
        QTest::qWait(20);
        const QString heard = log.Heard();
        if (realTime && !master) {
            // One message into the real-time area: the block.
            QVERIFY2(heard.startsWith(QStringLiteral("12 20 ")) && !heard.contains(u'|'), qPrintable(heard));
            QCOMPARE(Unit().Patch(-1), DataOf(patch));
        } else {
            QCOMPARE(heard, QString());
        }
        QCOMPARE(RealTimeEdits(), realTime);
    }
};

QTEST_MAIN(GlobalTest)
#include "Global_test.moc"
