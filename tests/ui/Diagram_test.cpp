// The algorithm diagram on the offscreen platform: where the block buttons go for every algorithm,
// what their pictures are, what a click does, how variable-position blocks move, and what the
// buttons tell assistive technology.

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QFrame>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

#include "model/RealTime.h"
#include "model/Report.h"
#include "model/VF1Algorithm.h"
#include "model/tables/AlgorithmInfo.h"
#include "ui/editor/BlockPictureTable.h"
#include "ui/editor/LcdPictures.h"
#include "ui/editor/VF1FXButton.h"
#include "ui/editor/VF1FXButtonWnd.h"
#include "ui/editor/VF1FXControlWnd.h"
#include "ui/editor/VF1LCDLayout.h"
#include "ui/editor/VF1ParamControlWnd.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/PixelArt.h"

#include "tests/ui/EditorTestSupport.h"

namespace {

VF1Param* OnOff(VF1Effect* block) {
    return block->GetParam(0);
}

} // namespace

class DiagramTest : public QObject {
    Q_OBJECT

    RecordedMessages messages;

  private slots:
    void eachRuleGivesItsPoints() {
        // Worked out by hand from the unit's rules, one algorithm per rule: algorithm, button k in
        // diagram order, its top-left point.
        struct Case {
            int algorithm;
            int k;
            QPoint at;
        };
        const Case cases[] = {
            {0, 0, {87, 78}},    {0, 4, {363, 78}},   {0, 5, {111, 117}}, {0, 8, {318, 117}},  // R1
            {3, 0, {156, 78}},   {3, 1, {87, 117}},   {3, 3, {156, 117}}, {3, 4, {237, 99}},   // R2
            {3, 6, {312, 114}},  {5, 0, {105, 78}},   {5, 2, {267, 78}},  {5, 3, {222, 117}},  // R2, R3
            {5, 4, {324, 117}},  {7, 2, {312, 78}},   {8, 0, {96, 96}},   {8, 2, {276, 96}},   // R3..R5
            {10, 1, {192, 96}},  {23, 1, {312, 96}},  {27, 1, {258, 96}}, {11, 2, {225, 117}}, // R6, R7
            {12, 1, {297, 96}},  {12, 2, {177, 96}},  {13, 0, {129, 78}}, {13, 2, {228, 117}}, // R8, R9
            {18, 1, {171, 78}},  {18, 2, {129, 117}}, {22, 3, {309, 78}}, {22, 5, {171, 117}}, // R10, R11
            {24, 2, {348, 117}}, {31, 2, {192, 117}}, {28, 4, {363, 96}}, {32, 3, {165, 120}}, // R12..R14
            {33, 2, {165, 120}}, {33, 3, {165, 78}},  {36, 1, {234, 78}}, {36, 4, {303, 117}}, // R15, R16
        };
        for (const Case& c : cases)
            QVERIFY2(VF1LCDLayout(c.algorithm).ButtonPoint(c.k) == c.at,
                     qPrintable(QStringLiteral("algorithm %1, button %2").arg(c.algorithm).arg(c.k)));
        QCOMPARE(VF1LCDLayout(18).GetRowStep(), 0);
        QCOMPARE(VF1LCDLayout(22).GetRowStep(), 30);
    }

    void everyAlgorithmPlacesItsButtonsOnTheFlow() {
        for (int a = 0; a < kAlgorithmCount; ++a) {
            const QString name = QStringLiteral("algorithm %1").arg(a);
            VF1Algorithm patch(a);
            DiagramHost host(patch);
            const VF1LCDLayout& layout = host.diagram->GetLayout();
            const QRect window(QPoint(0, 0), VF1FXButtonWnd::kSize);
            const auto& pairs = host.diagram->GetPairs();
            QCOMPARE(int(pairs.size()), patch.GetBlockCount());
            QVERIFY2(pairs.back()->button->IsMaster(), qPrintable(name));
            std::vector<QRect> placed;
            for (size_t k = 0; k < pairs.size(); ++k) {
                const VF1FXButton& button = *pairs[k]->button;
                const QPoint expected =
                    button.IsMaster() ? QPoint(340, 48) : layout.ButtonPoint(static_cast<int>(k));
                QVERIFY2(button.pos() == expected, qPrintable(name + QStringLiteral(", button %1").arg(k)));
                QCOMPARE(button.size(), BlockPictureSize(button.GetBaseName()) * 3);
                QVERIFY2(window.contains(button.geometry()), qPrintable(name));
                for (const QRect& other : placed)
                    QVERIFY2(!other.intersects(button.geometry()),
                             qPrintable(name + QStringLiteral(" overlaps")));
                placed.push_back(button.geometry());
            }
            // The pictures: the family's flow at (81, 75), the name at (84, 51), three times enlarged.
            const QLabel* flow = host.diagram->GetButtonWindow()->GetFlowPicture();
            QCOMPARE(flow->geometry(), QRect(81, 75, 354, 72));
            QVERIFY(flow->isVisible());
            const QLabel* title = host.diagram->GetButtonWindow()->GetNamePicture();
            QCOMPARE(title->pos(), QPoint(84, 51));
            QCOMPARE(title->height(), 21);
            QVERIFY2(title->width() >= 29 * 3 && title->width() <= 75 * 3, qPrintable(name));
        }
        QVERIFY(messages.texts.empty());
    }

    void blockKindsPickTheirPictures() {
        struct Case {
            uint32_t id;
            const char* baseName;
            QSize size;
        };
        const Case cases[] = {
            {0x000000, "ACP", {22, 10}},     {0x030000, "Comp", {22, 10}},
            {0x0F0000, "Comp", {22, 10}},    {0x2E0000, "Comp", {22, 10}},
            {0x040000, "Lofi", {25, 10}},    {0x050005, "StChorus", {73, 10}},
            {0x050009, "Chorus", {36, 10}},  {0x050001, "Cho", {22, 10}},
            {0x050006, "Cho", {22, 10}},     {0x080002, "Multitap", {64, 10}},
            {0x080004, "Delay", {36, 10}},   {0x080007, "Delay", {36, 10}},
            {0x080008, "Dly", {22, 10}},     {0x100001, "StFlanger", {73, 10}},
            {0x100000, "Flanger", {42, 10}}, {0x180003, "Master", {31, 7}},
            {0x210001, "PSDly", {49, 10}},   {0x210000, "PS", {22, 10}},
            {0x220005, "Reverb", {36, 10}},  {0x220007, "Reverb", {36, 10}},
            {0x220006, "Rev", {22, 10}},     {0x270000, "SpaceChorus", {66, 10}},
            {0x2B0000, "Vocal", {73, 10}},   {0x2D0000, "Wah", {22, 10}},
        };
        RegisterLcdPictures();
        for (const Case& c : cases) {
            QCOMPARE(BlockBaseName(c.id), c.baseName);
            QCOMPARE(BlockPictureSize(c.baseName), c.size);
        }
        // Every picture exists in its states; On and Off differ, and Sel is the same picture with
        // the display's two inks swapped.
        const auto inverted = [](const QImage& a, const QImage& b) {
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x)
                    if ((a.pixel(x, y) == Colours::DarkGreen.rgb()) != (b.pixel(x, y) == Colours::Lime.rgb()))
                        return false;
            return true;
        };
        for (const BlockPictureRow& row : BlockPictureRows()) {
            if (QString::fromLatin1(row.baseName) == QLatin1String("Master")) continue;
            QImage pictures[4];
            for (int state = 0; state < 4; ++state) {
                pictures[state] = Picture(BlockButtonPicture(row.baseName, state)).toImage();
                QCOMPARE(pictures[state].size(), BlockPictureSize(row.baseName));
            }
            QVERIFY2(pictures[kBlockOn] != pictures[kBlockOff], row.baseName);
            QVERIFY2(inverted(pictures[kBlockOn], pictures[kBlockSelOn]), row.baseName);
            QVERIFY2(inverted(pictures[kBlockOff], pictures[kBlockSelOff]), row.baseName);
        }
        QVERIFY(!Picture(QStringLiteral("Master")).isNull());
        QVERIFY(Picture(QStringLiteral("Master")).toImage() !=
                Picture(QStringLiteral("MasterSel")).toImage());
        for (const QString& flow : FlowPictureNames()) QCOMPARE(Picture(flow).size(), QSize(118, 24));
    }

    void firstBlockIsSelectedAndItsPanelShown() {
        VF1Algorithm patch(0);
        OnOff(patch.GetBlock(1))->SetValue(0);
        DiagramHost host(patch);
        QCOMPARE(host.Selected(), 0);
        QCOMPARE(host.Button(0).GetState(), int(kBlockSelOn));
        QCOMPARE(host.Button(1).GetState(), int(kBlockOff));
        QCOMPARE(host.Button(2).GetState(), int(kBlockOn));
        for (size_t k = 0; k < host.diagram->GetPairs().size(); ++k)
            QCOMPARE(host.Panel(int(k)).isVisible(), k == 0);
        QCOMPARE(host.diagram->GetSelectedEffect(), patch.GetBlock(0));
    }

    void firstClickSelectsSecondClickSwitches() {
        VF1Algorithm patch(0);
        OnOff(patch.GetBlock(1))->SetValue(0);
        DiagramHost host(patch);
        RecordingUnit unit;

        // An off block: selected with its SelOff picture, not switched on; nothing sent.
        QTest::mouseClick(&host.Button(1), Qt::LeftButton);
        QCOMPARE(host.Selected(), 1);
        QCOMPARE(host.Button(1).GetState(), int(kBlockSelOff));
        QCOMPARE(host.Button(0).GetState(), int(kBlockOn));
        QVERIFY(host.Panel(1).isVisible());
        QVERIFY(!host.Panel(0).isVisible());
        QCOMPARE(OnOff(patch.GetBlock(1))->GetValue(), 0);
        QVERIFY(unit.sent.empty());

        // Clicked again: on, and the unit hears the switch; once more: off.
        const int address = OnOff(patch.GetBlock(1))->RealTimeAddress();
        QTest::mouseClick(&host.Button(1), Qt::LeftButton);
        QCOMPARE(host.Button(1).GetState(), int(kBlockSelOn));
        QCOMPARE(OnOff(patch.GetBlock(1))->GetValue(), 1);
        QTest::mouseClick(&host.Button(1), Qt::LeftButton);
        QCOMPARE(host.Button(1).GetState(), int(kBlockSelOff));
        QCOMPARE(OnOff(patch.GetBlock(1))->GetValue(), 0);
        QCOMPARE(unit.sent, (std::vector<std::array<int, 3>>{{address, 1, 2}, {address, 0, 2}}));

        // The Master has no switch; selecting it shows its panel with the scroll bar.
        const int master = int(host.diagram->GetPairs().size()) - 1;
        QTest::mouseClick(&host.Button(master), Qt::LeftButton);
        QTest::mouseClick(&host.Button(master), Qt::LeftButton);
        QCOMPARE(host.Button(master).GetState(), int(kBlockSelOn));
        QVERIFY(host.Panel(master).GetScrollBar()->isVisible());
        QCOMPARE(unit.sent.size(), size_t(2));
    }

    void movingAVariableBlockReordersButtonsAndKeepsPanels() {
        // Guitar Multi 1: the preamp (block 2, at "3rd") and the modulation slot (block 5, at "6th")
        // can move.
        VF1Algorithm patch(0);
        DiagramHost host(patch);
        struct Observer : AlgorithmObserver {
            VF1FXControlWnd* diagram;
            void OnBlockLayoutChanged() override {}
            void OnEffectPositionsChanged(bool) override { diagram->RepositionVariableBlocks(); }
        } observer;
        observer.diagram = host.diagram.get();
        patch.SetOwnerWindow(&observer);

        VF1Effect* preamp = patch.GetPositionBlocks()[0];
        VF1ParamControlWnd* preampPanel = nullptr;
        for (const auto& pair : host.diagram->GetPairs())
            if (pair->button->GetBlock() == preamp) preampPanel = pair->panel.get();
        const std::vector<VF1control*> before = [&] {
            std::vector<VF1control*> controls;
            for (const auto& c : preampPanel->GetControls()) controls.push_back(c.get());
            return controls;
        }();

        // The preamp from the third place to the seventh passes the modulation slot, which steps
        // back to the fifth; the buttons follow the chain.
        preamp->GetPositionParam()->SetValue(6);
        std::vector<VF1Effect*> order;
        for (const auto& pair : host.diagram->GetPairs()) order.push_back(pair->button->GetBlock());
        const std::vector<VF1Effect*> expected = {
            patch.GetBlock(0), patch.GetBlock(1), patch.GetBlock(3), patch.GetBlock(4), patch.GetBlock(5),
            patch.GetBlock(6), patch.GetBlock(2), patch.GetBlock(7), patch.GetBlock(8), patch.GetBlock(9)};
        QCOMPARE(order, expected);
        for (size_t k = 0; k + 1 < order.size(); ++k)
            QCOMPARE(host.Button(int(k)).pos(), host.diagram->GetLayout().ButtonPoint(int(k)));
        // The same panels and controls: nothing was rebuilt.
        QCOMPARE(preampPanel->GetControls().size(), before.size());
        for (size_t i = 0; i < before.size(); ++i) QCOMPARE(preampPanel->GetControls()[i].get(), before[i]);
        patch.SetOwnerWindow(nullptr);
    }

    void buttonsSpeakToAssistiveTechnology() {
        VF1Algorithm patch(21); // Tape Echo: the echo and the Master
        OnOff(patch.GetBlock(0))->SetValue(0);
        DiagramHost host(patch);
        QAccessibleInterface* echo = QAccessible::queryAccessibleInterface(&host.Button(0));
        QVERIFY(echo != nullptr);
        QCOMPARE(echo->role(), QAccessible::Button);
        QCOMPARE(echo->text(QAccessible::Name), QStringLiteral("Echo"));
        QVERIFY(echo->state().checkable);
        QVERIFY(!echo->state().checked);
        QVERIFY(echo->state().selected);
        QCOMPARE(echo->rect().size(), QSize(198, 30));

        // Pressing through the accessibility layer does what a click does.
        QAccessibleActionInterface* actions = echo->actionInterface();
        QVERIFY(actions != nullptr);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(OnOff(patch.GetBlock(0))->GetValue(), 1);
        QVERIFY(echo->state().checked);

        QAccessibleInterface* master = QAccessible::queryAccessibleInterface(&host.Button(1));
        QCOMPARE(master->text(QAccessible::Name), QStringLiteral("Master"));
        QVERIFY(!master->state().checkable);
        QVERIFY(!master->state().checked);
        QVERIFY(!master->state().selected);
        master->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(master->state().selected);
        QVERIFY(!echo->state().selected);
    }

    void keyboardWalksTheButtonsAlongTheFlow() {
        // Bass Multi with its preamp (block 2) moved to the fifth place: the buttons were made in
        // block order, the keyboard follows the flow.
        VF1Algorithm patch(2);
        patch.GetPositionBlocks()[0]->GetPositionParam()->SetStoredValue(4);
        DiagramHost host(patch);
        QCOMPARE(host.Button(4).GetBlock(), patch.GetBlock(2));
        host.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&host.window));
        host.Button(0).setFocus();
        QVERIFY(host.Button(0).hasFocus());
        for (int k = 1; k < 6; ++k) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), &host.Button(k));
        }
        // Space presses the focused button: it selects its block.
        QTest::keyClick(&host.Button(5), Qt::Key_Space);
        QCOMPARE(host.Selected(), 5);
    }

    void midiSpotOpensTheSettings() {
        VF1Algorithm patch(29);
        DiagramHost host(patch);
        VF1FXButtonWnd* lcd = host.diagram->GetButtonWindow();
        QSignalSpy open(lcd, &VF1FXButtonWnd::openMidiSettings);
        QTest::mouseClick(lcd, Qt::LeftButton, {}, VF1FXButtonWnd::kMidiHotSpot.bottomRight() + QPoint(1, 0));
        QCOMPARE(open.count(), 0);
        QTest::mouseClick(lcd, Qt::LeftButton, {}, VF1FXButtonWnd::kMidiHotSpot.bottomRight());
        QTest::mouseClick(lcd, Qt::LeftButton, {}, VF1FXButtonWnd::kMidiHotSpot.topLeft());
        QCOMPARE(open.count(), 2);
    }
};

QTEST_MAIN(DiagramTest)
#include "Diagram_test.moc"
