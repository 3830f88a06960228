// Parameter panels and controls on the offscreen platform: the row rules, rebuilding after a
// selector change, scrolling, and each control kind's refresh and edit rules driven with real
// mouse events, with what reaches the unit recorded.

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QAccessibleValueInterface>
#include <QScrollBar>
#include <QtTest>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/Report.h"
#include "model/VF1Algorithm.h"
#include "model/VF1MasterEffect.h"
#include "model/tables/AlgorithmInfo.h"
#include "model/tables/CatalogueTable.h"
#include "ui/editor/PanelLayout.h"
#include "ui/editor/VF1ValueBox.h"
#include "ui/editor/VF1controlCheck.h"
#include "ui/editor/VF1controlRangeSlider.h"
#include "ui/editor/VF1controlSelSlider.h"
#include "ui/editor/VF1controlTarget.h"
#include "ui/editor/VF1controlToggle.h"
#include "ui/widgets/MokCheckBox.h"
#include "ui/widgets/MokSliderCtrl.h"

#include "tests/ui/EditorTestSupport.h"

namespace {

// A block's panel on its own, shown, as the diagram would show it.
struct PanelHost {
    QWidget window;
    VF1ParamControlWnd panel;

    explicit PanelHost(VF1Effect* block) : panel(block, &window) {
        window.resize(560, 270);
        panel.Create();
        window.show();
        panel.show();
    }
    // The control of the parameter with that name (the first one, from the left).
    template <class T = VF1control> T* Control(const std::string& name) {
        for (const auto& c : panel.GetControls())
            if (c->GetParam()->GetName() == name) return qobject_cast<T*>(c.get());
        return nullptr;
    }
    VF1control* At(size_t i) { return panel.GetControls()[i].get(); }
};

// A point inside the slider at the given fraction of its travel (0 at the minimum's end).
QPoint Along(const MokSliderCtrl* slider, double f) {
    if (slider->IsVertical()) return {slider->width() / 2, int((1.0 - f) * (slider->height() - 1))};
    return {int(f * (slider->width() - 1)), slider->height() / 2};
}

// Lets the slider's posted notifications arrive.
void Deliver() {
    QCoreApplication::processEvents();
}

// Turns the wheel over the slider: each notch toward the user raises the value by one.
void Wheel(MokSliderCtrl* slider, int notches, Qt::KeyboardModifiers modifiers = {}) {
    const QPoint at = slider->rect().center();
    for (int i = 0; i < std::abs(notches); ++i) {
        QWheelEvent wheel(at, slider->mapToGlobal(at), {}, {0, notches > 0 ? -120 : 120}, Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(slider, &wheel);
    }
    Deliver();
}

VF1Param* Param(VF1Effect* block, const std::string& name) {
    for (VF1Param* p : block->LiveParams())
        if (p->GetName() == name) return p;
    return nullptr;
}

} // namespace

class ParamPanelTest : public QObject {
    Q_OBJECT

    RecordedMessages messages;

  private slots:
    void rowsBreakWhereTheRulesSay() {
        VF1Algorithm patch(21); // a one-row block (the echo) and the Master
        using PanelLayout::Cursor;
        struct Case {
            const char* what;
            VF1Effect* block;
            std::vector<std::pair<int, int>> controls; // width, type code
            std::vector<QPoint> expected;
        };
        // A 41-px control, then ten of 52 px: the last one reaches x 498, which a one-row panel
        // (551 px) still holds and a scrolling one (540 px, room for the scroll bar) does not.
        std::vector<std::pair<int, int>> narrowFirst(11, {52, 85});
        narrowFirst.front() = {41, 85};
        std::vector<QPoint> oneRow = {{-1, -1}};
        for (int x = 39; x <= 498; x += 51) oneRow.push_back({x, -1});
        std::vector<QPoint> scrolling = oneRow;
        scrolling.back() = {-1, 123};
        const std::vector<Case> cases = {
            {"controls follow each other sharing their borders", patch.GetBlock(0), narrowFirst, oneRow},
            {"a scrolling panel keeps room for its scroll bar", patch.GetMaster(), narrowFirst, scrolling},
            {"ten 52-px controls fill a row, the eleventh starts the next",
             patch.GetBlock(0),
             std::vector<std::pair<int, int>>(11, {52, 85}),
             {{-1, -1},
              {50, -1},
              {101, -1},
              {152, -1},
              {203, -1},
              {254, -1},
              {305, -1},
              {356, -1},
              {407, -1},
              {458, -1},
              {-1, 123}}},
            {"a Target starts a row, even with room left",
             patch.GetMaster(),
             {{52, 85}, {160, 6}, {52, 1}, {160, 6}},
             {{-1, -1}, {-1, 123}, {158, 123}, {-1, 247}}},
            {"wide controls",
             patch.GetBlock(0),
             {{200, 85}, {200, 85}, {200, 85}},
             {{-1, -1}, {198, -1}, {-1, 123}}},
        };
        for (const Case& c : cases) {
            Cursor cursor(*c.block);
            std::vector<QPoint> placed;
            for (const auto& [width, type] : c.controls) placed.push_back(cursor.Place(width, type));
            QVERIFY2(placed == c.expected, c.what);
        }
        QCOMPARE(PanelLayout::Rows(*patch.GetBlock(0)), 1);
        QCOMPARE(PanelLayout::Rows(*patch.GetMaster()), 3);
    }

    void twentyTapDelayHoldsTwoTapsPerRow() {
        VF1Algorithm patch(20);
        VF1Effect* delay = patch.GetBlock(1);
        QCOMPARE(delay->GetId(), kMultiTapDelayId);
        QCOMPARE(PanelLayout::Rows(*delay), 9);
        PanelHost host(delay);
        std::map<int, std::vector<VF1control*>> rows;
        for (const auto& c : host.panel.GetControls()) rows[c->y()].push_back(c.get());
        // Each row after the first starts with a tap's delay time and holds two whole taps.
        int taps = 0;
        for (auto it = std::next(rows.begin()); it != rows.end(); ++it) {
            QVERIFY(it->second.front()->GetParam()->GetType() == 26);
            QVERIFY(it->second.size() == 8 || std::next(it) == rows.end());
            taps += int(it->second.size()) / 4;
            QVERIFY(it->second.back()->geometry().right() < 540);
        }
        QVERIFY(taps >= 18);
        QCOMPARE(int(host.panel.GetControls().size()), int(PanelLayout::ShownParams(*delay).size()));
    }

    void firstSwitchIsLeftOutButInTheMaster() {
        VF1Algorithm patch(36); // Speaker Modeling: its Master begins with "Master Lvl"
        PanelHost eq(patch.GetBlock(1));
        QCOMPARE(eq.At(0)->GetParam(), patch.GetBlock(1)->LiveParams()[1]);
        PanelHost master(patch.GetMaster());
        QCOMPARE(master.At(0)->GetParam()->GetName(), std::string("Master Lvl"));
        // Dummies have no control anywhere.
        for (const auto& c : master.panel.GetControls()) QVERIFY(!c->GetParam()->IsDummy());
        QVERIFY(messages.texts.empty());
    }

    void rebuildKeepsTheSelectorAndAppendsTheNewSet() {
        VF1Algorithm patch(0);
        VF1Effect* mod = patch.GetBlock(5); // the "Mod" slot: Harmonist first
        PanelHost host(mod);
        VF1control* selector = host.At(0);
        QCOMPARE(selector->GetParam()->GetName(), std::string("FX Sel"));
        Param(mod, "FX Sel")->SetValue(5); // Short Delay
        host.panel.Rebuild(true);
        QCOMPARE(host.At(0), selector);
        QCOMPARE(host.At(1)->pos(), QPoint(selector->width() - 2, -1));
        std::vector<VF1Param*> shown;
        for (const auto& c : host.panel.GetControls()) shown.push_back(c->GetParam());
        QCOMPARE(shown, PanelLayout::ShownParams(*mod));
        QCOMPARE(shown.back()->GetLabel(), std::string("[SDD] "));
        QVERIFY(host.panel.isVisible());
    }

    void rebuildingAnyPanelShowsEachParameterOnce() {
        // Some blocks keep a reserved word right after their switch; rebuilding must neither drop
        // nor repeat a control there.
        for (int a = 0; a < kAlgorithmCount; ++a) {
            VF1Algorithm patch(a);
            for (int b = 0; b < patch.GetBlockCount(); ++b) {
                VF1Effect* block = patch.GetBlock(b);
                QWidget window;
                VF1ParamControlWnd panel(block, &window);
                panel.Create();
                panel.Rebuild(false);
                std::vector<VF1Param*> shown;
                for (const auto& c : panel.GetControls()) shown.push_back(c->GetParam());
                QVERIFY2(shown == PanelLayout::ShownParams(*block),
                         qPrintable(QStringLiteral("algorithm %1 block %2").arg(a).arg(b)));
            }
        }
    }

    void wholeRowsScrollAndTheThumbFollows() {
        VF1Algorithm patch(0);
        PanelHost host(patch.GetMaster());
        host.panel.ShowScrollBar();
        QScrollBar* bar = host.panel.GetScrollBar();
        VF1control* first = host.At(0);
        const int top = first->y();
        // Page up at the top moves nothing; page down moves one row of 124 px and the thumb a third.
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(first->y(), top);
        QCOMPARE(bar->sliderPosition(), 0);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(first->y(), top - 124);
        QCOMPARE(bar->sliderPosition(), 33);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(first->y(), top - 248);
        QCOMPARE(host.panel.GetTopRow(), 2);
        // Dragging the thumb moves at most a row per step; letting go puts it on the row shown.
        bar->setSliderDown(true);
        bar->setSliderPosition(0);
        QCOMPARE(host.panel.GetTopRow(), 1);
        bar->setSliderDown(false);
        QCOMPARE(host.panel.GetTopRow(), 0);
        QCOMPARE(bar->sliderPosition(), 0);
        QCOMPARE(first->y(), top);
    }

    void checkAndToggle() {
        VF1Algorithm patch(28); // Comp/Lim 060001 with its three-way "Detect"
        RecordingUnit unit;
        PanelHost comp(patch.GetBlock(0));
        auto* detect = comp.Control<VF1controlToggle>("Detect");
        QVERIFY(detect != nullptr);
        QCOMPARE(detect->GetButtons().size(), size_t(3));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(detect->GetButtons()[size_t(i)]->geometry(), QRect(4, 32 + 15 * i, 53, 15));
        QCOMPARE(detect->GetButtons()[2]->GetCheck(), 1); // "Link", the default
        QTest::mouseClick(detect->GetButtons()[0], Qt::LeftButton);
        QCOMPARE(detect->GetParam()->GetValue(), 0);
        QCOMPARE(detect->GetButtons()[0]->GetCheck(), 1);
        QCOMPARE(detect->GetButtons()[2]->GetCheck(), 0);
        QCOMPARE(unit.sent.size(), size_t(1));

        PanelHost master(patch.GetMaster());
        auto* onOff = master.Control<VF1controlCheck>("Ctl 1 On/Off");
        QVERIFY(onOff != nullptr);
        QCOMPARE(onOff->GetCheckBox()->text(), QStringLiteral("On"));
        QTest::mouseClick(onOff->GetCheckBox(), Qt::LeftButton);
        QCOMPARE(onOff->GetParam()->GetValue(), 1);
        QTest::mouseClick(onOff->GetCheckBox(), Qt::LeftButton);
        QCOMPARE(onOff->GetParam()->GetValue(), 0);
    }

    void selSliderModesSplitTheRange() {
        VF1Algorithm patch(0);
        PanelHost master(patch.GetMaster());
        auto* bpm = master.Control<VF1controlSelSlider>("Master BPM"); // 40..250, then 251..252
        QVERIFY(bpm != nullptr);
        VF1Param* param = bpm->GetParam();
        MokSliderCtrl* slider = bpm->GetSlider();

        // A named value opens in mode 2 with the slider over the named part only.
        param->SetValue(252);
        bpm->Refresh();
        QCOMPARE(bpm->GetModeButton(2)->GetCheck(), 1);
        QCOMPARE(bpm->GetModeButton(1)->GetCheck(), 0);
        QCOMPARE(slider->Min(), 251);
        QCOMPARE(slider->Max(), 252);

        // Mode 1 sets the numeric part's first value, mode 2 the named part's.
        QTest::mouseClick(bpm->GetModeButton(1), Qt::LeftButton);
        QCOMPARE(param->GetValue(), 40);
        QCOMPARE(slider->Max(), 250);
        QCOMPARE(bpm->GetValueBox()->text(), QString::fromStdString(param->GetTextForValue(40)));
        QTest::mouseClick(bpm->GetModeButton(2), Qt::LeftButton);
        QCOMPARE(param->GetValue(), 251);
        QCOMPARE(bpm->GetModeButton(1)->GetCheck(), 0);
        QTest::mouseClick(bpm->GetModeButton(1), Qt::LeftButton);

        // Dragging shows the value to come; the release stores it.
        QTest::mousePress(slider, Qt::LeftButton, {}, Along(slider, 0.0));
        Deliver();
        QTest::mouseMove(slider, Along(slider, 1.0));
        Deliver();
        QCOMPARE(param->GetValue(), 40);
        QCOMPARE(bpm->GetValueBox()->text(), QString::fromStdString(param->GetTextForValue(250)));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, Along(slider, 1.0));
        Deliver();
        QCOMPARE(param->GetValue(), 250);

        // Ctrl-click restores the default.
        QTest::mouseClick(slider, Qt::LeftButton, Qt::ControlModifier, Along(slider, 0.5));
        Deliver();
        QCOMPARE(param->GetValue(), param->GetDefault());
        QCOMPARE(bpm->GetValueBox()->text(),
                 QString::fromStdString(param->GetTextForValue(param->GetDefault())));
    }

    void sliderStoresOnReleaseButSelectorsAtOnce() {
        VF1Algorithm patch(0);
        RecordingUnit unit;
        PanelHost eq(patch.GetBlock(3));
        VF1controlSlider* low = eq.Control<VF1controlSlider>(eq.At(0)->GetParam()->GetName());
        QVERIFY(low != nullptr);
        VF1Param* param = low->GetParam();
        MokSliderCtrl* slider = low->GetSlider();
        QTest::mousePress(slider, Qt::LeftButton, {}, Along(slider, 0.0));
        Deliver();
        QCOMPARE(param->GetValue(), param->GetMin());
        unit.sent.clear();
        QTest::mouseMove(slider, Along(slider, 1.0));
        Deliver();
        QCOMPARE(param->GetValue(), param->GetMin());
        QCOMPARE(low->GetValueBox()->text(), QString::fromStdString(param->GetTextForValue(param->GetMax())));
        QVERIFY(unit.sent.empty());
        QTest::mouseRelease(slider, Qt::LeftButton, {}, Along(slider, 1.0));
        Deliver();
        QCOMPARE(param->GetValue(), param->GetMax());
        QCOMPARE(unit.sent,
                 (std::vector<std::array<int, 3>>{{param->RealTimeAddress(), param->GetMax(), 2}}));
        // A notch of the wheel stores and sends at once; with Ctrl it restores the default.
        Wheel(slider, -1);
        QCOMPARE(param->GetValue(), param->GetMax() - 1);
        QCOMPARE(unit.sent.size(), size_t(2));
        Wheel(slider, 1, Qt::ControlModifier);
        QCOMPARE(param->GetValue(), param->GetDefault());
        QCOMPARE(low->GetValueBox()->text(),
                 QString::fromStdString(param->GetTextForValue(param->GetDefault())));

        // The "Mod" slot's selector takes effect while it is dragged: one block message per step.
        PanelHost mod(patch.GetBlock(5));
        auto* selector = qobject_cast<VF1controlSlider*>(mod.At(0));
        QVERIFY(selector != nullptr && selector->GetParam()->IsSetSelector());
        MokSliderCtrl* sel = selector->GetSlider();
        QTest::mousePress(sel, Qt::LeftButton, {}, Along(sel, 0.0));
        Deliver();
        const int blocks = unit.blocks;
        QTest::mouseMove(sel, Along(sel, 0.35));
        Deliver();
        QVERIFY(selector->GetParam()->GetValue() > 0);
        QCOMPARE(unit.blocks, blocks + 1);
        QTest::mouseRelease(sel, Qt::LeftButton, {}, Along(sel, 0.35));
        Deliver();
        QCOMPARE(unit.blocks, blocks + 1);
    }

    void sourceMinNeverPassesSourceMax() {
        VF1Algorithm patch(0);
        PanelHost master(patch.GetMaster());
        auto* srcMin = master.Control<VF1controlRangeSlider>("Ctl 1 Src Min");
        auto* srcMax = master.Control<VF1controlRangeSlider>("Ctl 1 Src Max");
        QVERIFY(srcMin && srcMax);
        QCOMPARE(srcMin->GetPartner(), srcMax);
        QCOMPARE(srcMax->GetPartner(), srcMin);
        // Max down to 40, then Min up all the way: it stops one below.
        QTest::mouseClick(srcMax->GetSlider(), Qt::LeftButton, {}, Along(srcMax->GetSlider(), 39.0 / 126.0));
        Deliver();
        const int max = srcMax->GetParam()->GetValue();
        QVERIFY(max > 1 && max < 127);
        QTest::mouseClick(srcMin->GetSlider(), Qt::LeftButton, {}, Along(srcMin->GetSlider(), 1.0));
        Deliver();
        QCOMPARE(srcMin->GetParam()->GetValue(), max - 1);
        QCOMPARE(srcMin->GetValueBox()->text(),
                 QString::fromStdString(srcMin->GetParam()->GetTextForValue(max - 1)));
        // And Max cannot go below Min.
        QTest::mouseClick(srcMax->GetSlider(), Qt::LeftButton, {}, Along(srcMax->GetSlider(), 0.0));
        Deliver();
        QCOMPARE(srcMax->GetParam()->GetValue(), max);
    }

    void targetChoosesAndResetsTheRange() {
        VF1Algorithm patch(0);
        VF1MasterEffect* masterBlock = patch.GetMaster();
        PanelHost master(masterBlock);
        auto* target = master.Control<VF1controlTarget>("Ctl 1 Target");
        QVERIFY(target != nullptr);
        auto* param = static_cast<VF1TargetParam*>(target->GetParam());
        MokSliderCtrl* which = target->GetSlider(0);
        QCOMPARE(which->Min(), 0);
        QCOMPARE(which->Max(), masterBlock->GetLastIndex());

        // Entry 3 of this Master is "Master BPM" with target number 4: the slider stands at the
        // entry, the box names it.
        const TargetTable& table = masterBlock->GetTargetTable();
        Wheel(which, 3);
        QCOMPARE(param->GetValue(), table[3].target);
        QCOMPARE(target->GetValueBox(0)->text(), QString::fromStdString(table[3].text));
        VF1Param* bpm = table[3].param;
        QCOMPARE(param->GetTargetMin(), bpm->GetMin());
        QCOMPARE(param->GetTargetMax(), bpm->GetMax());
        target->Refresh();
        QCOMPARE(which->GetPos(), 3);

        // A narrower range is kept when a gesture ends on the entry it began on (a click that does
        // not move the thumb); a new entry takes its own whole range.
        Wheel(target->GetSlider(1), 20);
        Wheel(target->GetSlider(2), -30);
        QCOMPARE(param->GetTargetMin(), bpm->GetMin() + 20);
        QCOMPARE(param->GetTargetMax(), bpm->GetMax() - 30);
        QCOMPARE(target->GetValueBox(1)->text(),
                 QString::fromStdString(bpm->GetTextForValue(bpm->GetMin() + 20)));
        QTest::mouseRelease(which, Qt::LeftButton, {}, which->rect().center());
        Deliver();
        QCOMPARE(param->GetTargetMin(), bpm->GetMin() + 20);
        QCOMPARE(param->GetTargetMax(), bpm->GetMax() - 30);
        Wheel(which, -1);
        VF1Param* level = table[2].param;
        QCOMPARE(param->GetValue(), table[2].target);
        QCOMPARE(param->GetTargetMin(), level->GetMin());
        QCOMPARE(param->GetTargetMax(), level->GetMax());
        QCOMPARE(target->GetSlider(1)->Max(), level->GetMax());
        QCOMPARE(target->GetSlider(2)->GetPos(), level->GetMax());
    }

    void hoveringGivesTheSliderTheWheel() {
        VF1Algorithm patch(0);
        PanelHost eq(patch.GetBlock(3));
        eq.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&eq.window));
        // Over the name, then over the value box of another control: each time that control's slider.
        for (size_t i : {size_t(2), size_t(3)}) {
            auto* control = qobject_cast<VF1controlSlider*>(eq.At(i));
            QVERIFY(control != nullptr);
            const QPoint over =
                i == 2 ? control->NameRect().center() : control->GetValueBox()->geometry().center();
            QTest::mouseMove(eq.window.windowHandle(), control->mapTo(&eq.window, over));
            QTRY_VERIFY(control->GetSlider()->hasFocus());
        }
    }

    void controlsSpeakToAssistiveTechnology() {
        VF1Algorithm patch(11); // Reverb 1: its delay has "Level\nC" and the like
        PanelHost delay(patch.GetBlock(2));
        VF1control* level = delay.Control("Level\nC");
        QVERIFY(level != nullptr);
        QAccessibleInterface* group = QAccessible::queryAccessibleInterface(level);
        QCOMPARE(group->role(), QAccessible::Grouping);
        QCOMPARE(group->text(QAccessible::Name), QStringLiteral("Level C"));
        auto* slider = qobject_cast<VF1controlSlider*>(level);
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(slider->GetValueBox());
        QVERIFY(box->state().readOnly);
        QAccessibleTextInterface* text = box->textInterface();
        QVERIFY(text != nullptr);
        QCOMPARE(text->text(0, text->characterCount()), slider->GetValueBox()->text());
        QCOMPARE(slider->GetValueBox()->text(),
                 QString::fromStdString(level->GetParam()->GetTextForValue(50)));

        // The slider: the stored value and its range; setting the value stores and sends it as a
        // notch of the wheel does, and the box follows.
        RecordingUnit unit;
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(slider->GetSlider());
        QCOMPARE(bar->role(), QAccessible::Slider);
        QAccessibleValueInterface* value = bar->valueInterface();
        QVERIFY(value != nullptr);
        QCOMPARE(value->currentValue().toInt(), level->GetParam()->GetValue());
        QCOMPARE(value->minimumValue().toInt(), level->GetParam()->GetMin());
        QCOMPARE(value->maximumValue().toInt(), level->GetParam()->GetMax());
        value->setCurrentValue(70);
        Deliver();
        QCOMPARE(level->GetParam()->GetValue(), 70);
        QCOMPARE(unit.sent, (std::vector<std::array<int, 3>>{{level->GetParam()->RealTimeAddress(), 70, 2}}));
        QCOMPARE(text->text(0, text->characterCount()),
                 QString::fromStdString(level->GetParam()->GetTextForValue(70)));

        // Option buttons and mode buttons are one choice each: radio buttons with their texts.
        auto* type = qobject_cast<VF1controlToggle*>(delay.At(0));
        QVERIFY(type != nullptr);
        QAccessibleInterface* single = QAccessible::queryAccessibleInterface(type->GetButtons()[0]);
        QCOMPARE(single->role(), QAccessible::RadioButton);
        QCOMPARE(single->text(QAccessible::Name), QString::fromStdString(type->GetParam()->GetEntryText(0)));
        QVERIFY(single->state().checked);
        QVERIFY(!QAccessible::queryAccessibleInterface(type->GetButtons()[1])->state().checked);
        auto* time = qobject_cast<VF1controlSelSlider*>(delay.At(1));
        QVERIFY(time != nullptr);
        QCOMPARE(QAccessible::queryAccessibleInterface(time->GetModeButton(2))->role(),
                 QAccessible::RadioButton);

        PanelHost master(patch.GetMaster());
        auto* target = master.Control<VF1controlTarget>("Ctl 2 Target");
        const char* names[] = {"Target", "Min", "Max"};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(QAccessible::queryAccessibleInterface(target->GetSlider(i))->text(QAccessible::Name),
                     QString::fromLatin1(names[i]));
    }
};

QTEST_MAIN(ParamPanelTest)
#include "ParamPanel_test.moc"
