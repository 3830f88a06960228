// The diagram and its panels inside the main window, talking to the built-in virtual unit: the
// diagram follows the current patch, and what the controls change reaches the unit as the window
// and the patch arrange it (one message per slider step, whole blocks for selectors, the patch
// twice when one variable-position block pushes the other).

#include <QComboBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <mutex>
#include <vector>

#include "midi/VF1MIDI.h"
#include "midi/VF1Settings.h"
#include "midi/drivers/MidiSystem.h"
#include "midi/drivers/VirtualUnit.h"
#include "midi/drivers/VirtualUnitDriver.h"
#include "model/RealTime.h"
#include "model/Report.h"
#include "model/tables/AlgorithmInfo.h"
#include "ui/editor/PanelLayout.h"
#include "ui/editor/VF1FXButton.h"
#include "ui/editor/VF1FXControlWnd.h"
#include "ui/editor/VF1ParamControlWnd.h"
#include "ui/editor/VF1PatchListCtrl.h"
#include "ui/editor/VF1controlSlider.h"
#include "ui/editor/VF1main.h"
#include "ui/widgets/MokSliderCtrl.h"

#include "tests/ui/EditorTestSupport.h"

namespace {

// Turns the wheel over the slider: each notch toward the user raises the value by one.
void Wheel(MokSliderCtrl* slider, int notches) {
    const QPoint at = slider->rect().center();
    for (int i = 0; i < std::abs(notches); ++i) {
        QWheelEvent wheel(at, slider->mapToGlobal(at), {}, {0, notches > 0 ? -120 : 120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(slider, &wheel);
        QCoreApplication::processEvents();
    }
}

} // namespace

class EditorWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MidiSystem> devices;
    std::unique_ptr<VF1main> window;
    RecordedMessages messages;
    std::mutex receivedMutex;
    std::vector<VirtualUnit::Received> received;

    VF1main& W() { return *window; }
    VF1FXControlWnd& Diagram() { return *window->Diagram(); }
    std::vector<VirtualUnit::Received> Received() {
        std::lock_guard lock(receivedMutex);
        return received;
    }
    void Forget() {
        std::lock_guard lock(receivedMutex);
        received.clear();
    }
    void ChooseAlgorithm(int algorithm) {
        auto* list = qobject_cast<QComboBox*>(W().ControlById(VF1main::kAlgorithmList));
        list->setCurrentIndex(AlgorithmRow(algorithm));
        emit list->activated(list->currentIndex());
    }
    // The pair of a block, in diagram order.
    int PairOf(const VF1Effect* block) {
        const auto& pairs = Diagram().GetPairs();
        for (size_t k = 0; k < pairs.size(); ++k)
            if (pairs[k]->button->GetBlock() == block) return int(k);
        return -1;
    }
    void SelectBlock(const VF1Effect* block) {
        QTest::mouseClick(Diagram().GetPairs()[size_t(PairOf(block))]->button.get(), Qt::LeftButton);
    }
    VF1controlSlider* SliderOf(const VF1Param* param) {
        for (const auto& c : Diagram().GetSelectedPanel()->GetControls())
            if (c->GetParam() == param) return qobject_cast<VF1controlSlider*>(c.get());
        return nullptr;
    }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        VF1Settings::SetPath(dir->filePath(QStringLiteral("settings.cfg")).toStdString());
        devices = std::make_unique<MidiSystem>(false);
        devices->Virtual().SetPacing(0);
        devices->Virtual().Unit().SetListener([this](const VirtualUnit::Received& r) {
            std::lock_guard lock(receivedMutex);
            received.push_back(r);
        });
        VF1MIDI::Instance().SetDriver(devices.get());
        window = std::make_unique<VF1main>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() {
        window.reset();
        VF1MIDI::Release();
        devices.reset();
        Forget();
        SetRealTimeEdits(false);
    }

    void diagramFollowsTheCurrentPatch() {
        QCOMPARE(Diagram().GetPatch(), W().Patches().GetCurrent());
        QCOMPARE(Diagram().GetSelectedEffect(), W().Patches().GetCurrent()->GetBlock(0));
        QVERIFY(Diagram().GetSelectedPanel()->isVisible());

        QPointer<VF1FXControlWnd> before = W().Diagram();
        ChooseAlgorithm(21);
        QVERIFY(before.isNull());
        QCOMPARE(Diagram().GetLayout().GetAlgorithm(), 21);
        QCOMPARE(Diagram().GetPatch(), W().Patches().GetCurrent());

        // Another row of the patch list: its own diagram; back again: a new one for the first.
        W().AddPatch();
        W().PatchListView()->SelectRow(1);
        QCOMPARE(Diagram().GetPatch(), W().Patches().GetAt(1));
        W().PatchListView()->SelectRow(0);
        QCOMPARE(Diagram().GetLayout().GetAlgorithm(), 21);
    }

    void sliderStepIsOneMessageToTheUnit() {
        ChooseAlgorithm(0); // auto-send: the patch goes to the edit buffer and real-time editing is on
        QVERIFY(RealTimeEdits());
        VF1Effect* eq = W().Patches().GetCurrent()->GetBlock(3);
        SelectBlock(eq);
        VF1controlSlider* control = SliderOf(PanelLayout::ShownParams(*eq)[0]);
        QVERIFY(control != nullptr);
        QTRY_VERIFY(!Received().empty());
        Forget();
        const int address = control->GetParam()->RealTimeAddress();
        Wheel(control->GetSlider(), 1);
        QTRY_COMPARE(Received().size(), size_t(1));
        const VirtualUnit::Received message = Received().front();
        QCOMPARE(message.length, size_t(13));
        QCOMPARE(int(message.address[0]), 0x20);
        QCOMPARE(message.address[1] * 256 + message.address[2], address);
        QVERIFY(message.checksumOk);
        QTest::qWait(30);
        QCOMPARE(Received().size(), size_t(1));
    }

    void passingTheOtherBlockSendsThePatchTwice() {
        ChooseAlgorithm(0);
        VF1Algorithm& patch = *W().Patches().GetCurrent();
        VF1Effect* preamp = patch.GetPositionBlocks()[0]; // "3rd"
        VF1Effect* mod = patch.GetPositionBlocks()[1];    // "6th"
        SelectBlock(preamp);
        VF1controlSlider* position = SliderOf(preamp->GetPositionParam());
        QVERIFY(position != nullptr);
        const std::vector<VF1control*> controls = [&] {
            std::vector<VF1control*> list;
            for (const auto& c : Diagram().GetSelectedPanel()->GetControls()) list.push_back(c.get());
            return list;
        }();
        QTRY_VERIFY(!Received().empty());
        QTest::qWait(30);

        // "3rd" to "5th" moves only the preamp: a position message each, no patch.
        Forget();
        Wheel(position->GetSlider(), 2);
        QCOMPARE(PairOf(preamp), 4);
        QTRY_COMPARE(Received().size(), size_t(2));

        // "6th" passes the modulation slot, which steps back to "5th": the two position messages,
        // then the whole patch twice (three messages each).
        Forget();
        Wheel(position->GetSlider(), 1);
        QCOMPARE(mod->GetPositionParam()->GetValue(), 4);
        QCOMPARE(PairOf(mod), 4);
        QCOMPARE(PairOf(preamp), 5);
        QTRY_COMPARE(Received().size(), size_t(2 + 2 * 3));
        for (int k = 0; k < 9; ++k)
            QCOMPARE(Diagram().GetPairs()[size_t(k)]->button->pos(), Diagram().GetLayout().ButtonPoint(k));
        // The panel and its controls were kept.
        QCOMPARE(Diagram().GetSelectedEffect(), preamp);
        for (size_t i = 0; i < controls.size(); ++i)
            QCOMPARE(Diagram().GetSelectedPanel()->GetControls()[i].get(), controls[i]);
    }

    void selectorRebuildsTheSelectedPanel() {
        ChooseAlgorithm(0);
        VF1Effect* mod = W().Patches().GetCurrent()->GetBlock(5);
        SelectBlock(mod);
        VF1ParamControlWnd* panel = Diagram().GetSelectedPanel();
        VF1controlSlider* selector = qobject_cast<VF1controlSlider*>(panel->GetControls().front().get());
        QVERIFY(selector != nullptr && selector->GetParam()->IsSetSelector());
        QTRY_VERIFY(!Received().empty());
        QTest::qWait(30);
        Forget();
        Wheel(selector->GetSlider(), 1); // Harmonist to Flanger
        QCOMPARE(panel->GetControls().front().get(), selector);
        std::vector<VF1Param*> shown;
        for (const auto& c : panel->GetControls()) shown.push_back(c->GetParam());
        QCOMPARE(shown, PanelLayout::ShownParams(*mod));
        QCOMPARE(shown.back()->GetLabel(), std::string("[FL] "));
        QVERIFY(panel->isVisible());
        // The whole block, as one message.
        QTRY_COMPARE(Received().size(), size_t(1));
        QVERIFY(Received().front().length > 13);
    }
};

QTEST_MAIN(EditorWindowTest)
#include "EditorWindow_test.moc"
