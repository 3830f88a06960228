// The main window on the offscreen platform, driven with real widget events, talking to the
// built-in virtual unit at full speed.

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <array>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "midi/VF1MIDI.h"
#include "midi/VF1Settings.h"
#include "midi/drivers/MidiSystem.h"
#include "midi/drivers/VirtualUnitDriver.h"
#include "model/RealTime.h"
#include "model/Report.h"
#include "model/tables/AlgorithmInfo.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/ui/VirtualUnitRig.h"
#include "tests/ui/WhenModal.h"
#include "ui/dialogs/DialogTransfers.h"
#include "ui/dialogs/VF1MIDIDlg.h"
#include "ui/editor/BankManagerLink.h"
#include "ui/editor/VF1FXButtonWnd.h"
#include "ui/editor/VF1PatchListCtrl.h"
#include "ui/editor/VF1main.h"
#include "ui/widgets/MokCheckBox.h"

namespace {

using Id = VF1main::ControlId;

// Slot numbers of the unit's memory: A1..A101 are 0..100, B1..B101 are 101..201.
constexpr int kEditBuffer = -1;
int Slot(bool bankB, int number) {
    return (bankB ? 101 : 0) + number - 1;
}

std::vector<uint8_t> ReadFile(const QString& path) {
    std::ifstream file(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

PatchData DataOf(VF1Algorithm& patch) {
    PatchData data{};
    patch.WritePatchData(data.data());
    return data;
}

// Stands in for the bank manager and records what the window asks of it.
class FakeBankManager : public BankManagerLink {
  public:
    bool HasUnsavedChanges() const override { return unsaved; }
    void ShowManager() override { calls.push_back("show"); }
    void HideManager() override { calls.push_back("hide"); }
    void RaiseManager() override {}
    uint8_t* EditedPatchImage() override { return image.data(); }
    void EditedPatchChanged() override { calls.push_back("changed"); }
    void StepPatch(int next) override { calls.push_back(next ? "next" : "previous"); }

    bool unsaved = false;
    std::vector<std::string> calls;
    std::array<uint8_t, kPatchImageSize> image{};
};

// Answers a reception at once with whatever has arrived (nothing, as no request was sent).
class LoadAtOnce : public TransferDialogs {
  public:
    bool RunReceivePatch(VF1MIDI&, bool, bool, int) override { return true; }
    bool RunReceiveBank(VF1MIDI&, int) override { return true; }
    void BeginSendBank(const int&, bool&) override {}
    void UpdateSendBank() override {}
    void EndSendBank() override {}
};

// Clicks Load in the receive dialog once it offers it; a dialog that offers nothing within ten
// seconds is cancelled, so that a lost reply fails the test instead of hanging it.
void LoadWhenOffered() {
    auto* poll = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, clock] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        auto* load = dialog->findChild<QPushButton*>(QStringLiteral("1"));
        const bool offered = load && load->isEnabled();
        if (!offered && clock->elapsed() < 10000) return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (offered) load->click();
        else dialog->reject();
    });
    poll->start(50);
}

// Returns once every event posted before the call has been handled (a zero timer fires only after
// them), so that a check that nothing reached the unit covers all an action set going.
void HandlePendingEvents() {
    bool handled = false;
    QTimer::singleShot(0, [&handled] { handled = true; });
    QTRY_VERIFY(handled);
}

// Types a path into the file dialog's name box and presses Enter, as a user does.
void TypeFileName(QFileDialog* dialog, const QString& path) {
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name != nullptr);
    name->setText(path);
    QTest::keyClick(name, Qt::Key_Return);
}

// A double-click as the platform delivers it, through the window: press, release, press, the
// double-click, release.
void DoubleClick(QWidget* widget, QPoint at = {}, Qt::MouseButton button = Qt::LeftButton) {
    if (at.isNull()) at = widget->rect().center();
    QWidget* window = widget->window();
    QTest::mouseDClick(window->windowHandle(), button, {}, widget->mapTo(window, at));
}

} // namespace

class MainWindowTest : public QObject, VirtualUnitRig {
    Q_OBJECT

  private:
    VF1main& W() { return *window; }
    template <class T> T* C(int id) { return qobject_cast<T*>(window->ControlById(id)); }
    int UnitMessages() { return Unit().GoodMessages() + Unit().BadMessages(); }
    VF1PatchListCtrl* List() { return window->PatchListView(); }
    void Click(int id) { QTest::mouseClick(window->ControlById(id), Qt::LeftButton); }
    void SetTarget(int id, int number) {
        Click(id);
        C<QComboBox>(Id::kPatchNumberList)->setCurrentIndex(number - 1);
    }
    // As the desktop changes it: the platform's own report of the change comes in as well.
    void SetWindowState(Qt::WindowState state) {
        W().setWindowState(state);
        QCoreApplication::processEvents();
    }
    QPoint RowCentre(int row) { return List()->visualItemRect(List()->topLevelItem(row)).center(); }
    void OpenWindow() {
        window = std::make_unique<VF1main>();
        transfers = std::make_unique<DialogTransfers>(window.get());
        VF1MIDI::Instance().SetDialogs(transfers.get());
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void CloseWindow() {
        VF1MIDI::Instance().SetDialogs(nullptr);
        transfers.reset();
        window.reset();
    }

    std::unique_ptr<VF1main> window;
    std::unique_ptr<DialogTransfers> transfers;

  private slots:
    void initTestCase() { RecordMessages(); }
    void cleanupTestCase() { StopRecording(); }

    void init() {
        StartUnit();
        OpenWindow();
    }

    void cleanup() {
        CloseWindow();
        StopUnit();
        SetRealTimeEdits(false);
    }

    void startsWithOneDefaultPatchAndSendsNothing() {
        QCOMPARE(W().windowTitle(), QStringLiteral("Quellin"));
        QCOMPARE(W().size(), QSize(734, 491));
        QCOMPARE(List()->RowCount(), 1);
        QCOMPARE(List()->SelectedRow(), 0);
        QCOMPARE(List()->Text(0, 0), QString::fromLatin1(AlgorithmDisplayName(kDefaultAlgorithm)));
        QCOMPARE(List()->Text(0, 2), QString());
        QCOMPARE(W().Patches().GetCurrent()->GetNumber(), AlgorithmAtRow(0));
        QCOMPARE(C<QComboBox>(Id::kAlgorithmList)->count(), kAlgorithmCount);
        QCOMPARE(C<QComboBox>(Id::kCategoryList)->count(), kCategoryCount);
        QCOMPARE(C<QComboBox>(Id::kPatchNumberList)->itemText(100), QStringLiteral("101"));
        QVERIFY(!C<QComboBox>(Id::kPatchNumberList)->isEnabled());
        QVERIFY(C<MokCheckBox>(Id::kRealTimeEdits)->isHidden());
        QCOMPARE(C<MokCheckBox>(Id::kAutoSend)->GetCheck(), 1);
        QCOMPARE(C<MokCheckBox>(Id::kTargetEdit)->GetCheck(), 1);
        // The Global section lies outside the window until ">" widens it.
        QVERIFY(C<QWidget>(Id::kGlobalGroup)->geometry().left() >= W().width());
        HandlePendingEvents();
        QCOMPARE(UnitMessages(), 0);
        QVERIFY(messages.empty());
    }

    void expandButtonWidensAndNarrowsByTheGlobalGroup() {
        const int start = W().width();
        const QRect global = C<QWidget>(Id::kGlobalGroup)->geometry();
        Click(Id::kExpand);
        QCOMPARE(W().width(), start + global.width() + 10);
        QVERIFY(global.right() < W().width());
        QCOMPARE(C<QPushButton>(Id::kExpand)->text(), QStringLiteral("<"));
        Click(Id::kExpand);
        QCOMPARE(W().width(), start);
        QCOMPARE(C<QPushButton>(Id::kExpand)->text(), QStringLiteral(">"));
    }

    void addAndRemovePatches() {
        // "-" with a single patch does nothing.
        Click(Id::kRemovePatch);
        QCOMPARE(List()->RowCount(), 1);
        QCOMPARE(W().Patches().GetCount(), 1);

        // "+" appends without selecting and without sending; a double-click counts twice.
        const int sent = UnitMessages();
        Click(Id::kAddPatch);
        DoubleClick(W().ControlById(Id::kAddPatch));
        QCOMPARE(List()->RowCount(), 4);
        QCOMPARE(W().Patches().GetCount(), 4);
        QCOMPARE(List()->SelectedRow(), 0);
        QCOMPARE(W().Patches().GetCurrentIndex(), 0);
        QCOMPARE(List()->Text(3, 0), QString::fromLatin1(AlgorithmDisplayName(kDefaultAlgorithm)));
        HandlePendingEvents();
        QCOMPARE(UnitMessages(), sent);

        // Removing the last patch selects the new last one; removing another keeps the index.
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(3));
        C<QLineEdit>(Id::kNameBox)->setText(QStringLiteral("Fourth"));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
        C<QLineEdit>(Id::kNameBox)->setText(QStringLiteral("Second"));
        Click(Id::kRemovePatch);
        QCOMPARE(List()->RowCount(), 3);
        QCOMPARE(List()->SelectedRow(), 1);
        QCOMPARE(W().Patches().GetCurrentIndex(), 1);
        QCOMPARE(W().Patches().GetCurrent()->GetName(), std::string());
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(2));
        Click(Id::kRemovePatch);
        QCOMPARE(List()->SelectedRow(), 1);
        QCOMPARE(W().Patches().GetCurrentIndex(), 1);
        QCOMPARE(C<QLineEdit>(Id::kNameBox)->text(), QString());
        QCOMPARE(List()->Text(0, 1), QString());
    }

    void nameBoxKeepsOnlyWhatTheUnitShows_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("cursor"); // where the second part goes in; -1 the end
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("pasted"); // the second part comes from the clipboard
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "Lead 1" << -1 << "" << false << "Lead 1";
        QTest::newRow("tilde typed in the middle") << "abcd" << 2 << "~" << false << "ab";
        QTest::newRow("tilde pasted") << "" << -1 << "ab~cd" << true << "ab";
        QTest::newRow("braces are allowed") << "" << -1 << "a}b{c" << true << "a}b{c";
        QTest::newRow("beyond ASCII") << "" << -1 << QString::fromUtf8("Gr\u00fcn") << true << "Gr";
        QTest::newRow("control character") << "x" << 0 << "ab\tcd" << true << "ab";
        QTest::newRow("thirteen at most") << "ABCDEFGHIJKLMNOP" << -1 << "" << false << "ABCDEFGHIJKLM";
    }
    void nameBoxKeepsOnlyWhatTheUnitShows() {
        QFETCH(QString, typed);
        QFETCH(int, cursor);
        QFETCH(QString, second);
        QFETCH(bool, pasted);
        QFETCH(QString, name);
        auto* box = C<QLineEdit>(Id::kNameBox);
        box->setFocus();
        QTest::keyClicks(box, typed);
        if (cursor >= 0) box->setCursorPosition(cursor);
        if (pasted) {
            QApplication::clipboard()->setText(second);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClicks(box, second);
        }
        QCOMPARE(box->text(), name);
        QCOMPARE(List()->Text(0, 1), name);
        QCOMPARE(W().Patches().GetCurrent()->GetName(), name.toStdString());
        // Leaving the box sends the named patch once, cut or not.
        const int sent = UnitMessages();
        C<QWidget>(Id::kAddPatch)->setFocus();
        QTRY_VERIFY(UnitMessages() > sent);
        QCOMPARE(Unit().Patch(kEditBuffer), DataOf(*W().Patches().GetCurrent()));
        const int after = UnitMessages();
        box->setFocus();
        C<QWidget>(Id::kAddPatch)->setFocus();
        HandlePendingEvents();
        QCOMPARE(UnitMessages(), after);
    }

    void emptyListSpaceKeepsTheSelectionAndSendsNothing() {
        Click(Id::kAddPatch);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
        QCOMPARE(W().Patches().GetCurrentIndex(), 1);
        QTRY_VERIFY(UnitMessages() > 0); // auto-send is on
        const int sent = UnitMessages();
        const QPoint empty(RowCentre(1).x(), List()->viewport()->height() - 3);
        QVERIFY(!List()->indexAt(empty).isValid());
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, empty);
        QTest::mouseClick(List()->viewport(), Qt::RightButton, {}, empty);
        DoubleClick(List()->viewport(), empty);
        DoubleClick(List()->viewport(), empty, Qt::RightButton);
        QCOMPARE(List()->SelectedRow(), 1);
        QCOMPARE(W().Patches().GetCurrentIndex(), 1);
        HandlePendingEvents();
        QCOMPARE(UnitMessages(), sent);
    }

    void rowsAreDrawnWithTheirSelectionAndFocusState() {
        Click(Id::kAddPatch);
        // A clicked row has the focus state: white texts on blue.
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
        auto look = List()->Look(1);
        QCOMPARE(look.fill, QColor(49, 106, 197));
        QCOMPARE(look.text[0], QColor(Qt::white));
        QCOMPARE(List()->Look(0).fill, QColor(194, 255, 53));
        QCOMPARE(List()->Look(0).text[0], QColor(50, 74, 255));
        QCOMPARE(List()->Look(0).text[1], QColor(Qt::black));
        QCOMPARE(List()->Look(0).text[2], QColor(192, 0, 0));
        // The list loses the focus: the selected row turns silver.
        C<QWidget>(Id::kNameBox)->setFocus();
        QCOMPARE(List()->Look(1).text[0], QColor(192, 192, 192));
        QCOMPARE(List()->SelectedRow(), 1);
        // What is on the screen: blue across the three columns, lime beside them.
        const QImage shot = List()->viewport()->grab().toImage();
        const int y = RowCentre(1).y();
        QCOMPARE(shot.pixelColor(List()->columnWidth(0) + 1, y), QColor(49, 106, 197));
        QCOMPARE(shot.pixelColor(List()->viewport()->width() - 2, y), QColor(194, 255, 53));
        // A row the window selects itself (a received patch) has no focus state.
        std::array<uint8_t, kPatchImageSize> image{};
        VF1MIDI::Instance().BuildPatchImage(*W().Patches().GetAt(0), image.data());
        QVERIFY(W().OpenBankPatch(image.data(), 1, 0));
        QCOMPARE(List()->SelectedRow(), 2);
        QCOMPARE(List()->Look(2).text[1], QColor(192, 192, 192));
    }

    void autoSendOffHidesRealTimeEdits() {
        auto* realTime = C<MokCheckBox>(Id::kRealTimeEdits);
        Click(Id::kSend);
        QVERIFY(!realTime->isHidden());
        QCOMPARE(realTime->GetCheck(), 1);
        QVERIFY(RealTimeEdits());
        // The check box alone sets the flag.
        Click(Id::kRealTimeEdits);
        QVERIFY(!RealTimeEdits());
        Click(Id::kRealTimeEdits);
        QVERIFY(RealTimeEdits());

        Click(Id::kAutoSend);
        QCOMPARE(C<MokCheckBox>(Id::kAutoSend)->GetCheck(), 0);
        QVERIFY(!realTime->isHidden()); // only at the next change of the patch
        const int sent = UnitMessages();
        auto* category = C<QComboBox>(Id::kCategoryList);
        category->setFocus();
        QTest::keyClick(category, Qt::Key_Down);
        QCOMPARE(W().Patches().GetCurrent()->GetCategory(), category->currentIndex());
        QVERIFY(realTime->isHidden());
        QCOMPARE(realTime->GetCheck(), 0);
        QVERIFY(!RealTimeEdits());
        HandlePendingEvents();
        QCOMPARE(UnitMessages(), sent);
    }

    void algorithmChangeReplacesThePatchAndKeepsItsName() {
        QTest::keyClicks(C<QLineEdit>(Id::kNameBox), QStringLiteral("Keep"));
        auto* algorithms = C<QComboBox>(Id::kAlgorithmList);
        algorithms->setFocus();
        QTest::keyClick(algorithms, Qt::Key_Down);
        const int number = AlgorithmAtRow(1);
        VF1Algorithm* patch = W().Patches().GetCurrent();
        QCOMPARE(patch->GetNumber(), number);
        QCOMPARE(patch->GetName(), std::string("Keep"));
        QCOMPARE(patch->GetCategory(), AlgorithmDefaultCategory(number));
        QCOMPARE(C<QComboBox>(Id::kCategoryList)->currentIndex(), patch->GetCategory());
        QCOMPARE(List()->Text(0, 0), QString::fromLatin1(AlgorithmDisplayName(number)));
        QTRY_COMPARE(Unit().Patch(kEditBuffer), DataOf(*patch));
        QVERIFY(RealTimeEdits());

        // Choosing the algorithm the patch already has keeps the patch and its changes.
        auto* category = C<QComboBox>(Id::kCategoryList);
        category->setFocus();
        QTest::keyClick(category, Qt::Key_Down);
        const int changed = patch->GetCategory();
        QVERIFY(changed != AlgorithmDefaultCategory(number));
        emit algorithms->activated(algorithms->currentIndex()); // the same entry picked in its list
        QCOMPARE(W().Patches().GetCurrent(), patch);
        QCOMPARE(patch->GetCategory(), changed);
    }

    void sendReachesTheUnit_data() {
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("slot");
        QTest::newRow("edit buffer") << int(Id::kTargetEdit) << 1 << kEditBuffer;
        QTest::newRow("A5") << int(Id::kTargetA) << 5 << Slot(false, 5);
        QTest::newRow("B101") << int(Id::kTargetB) << 101 << Slot(true, 101);
    }
    void sendReachesTheUnit() {
        QFETCH(int, target);
        QFETCH(int, number);
        QFETCH(int, slot);
        QTest::keyClicks(C<QLineEdit>(Id::kNameBox), QStringLiteral("Sent"));
        if (target != Id::kTargetEdit) SetTarget(target, number);
        QCOMPARE(C<QComboBox>(Id::kPatchNumberList)->isEnabled(), target != Id::kTargetEdit);
        const PatchData before = Unit().Patch(kEditBuffer);
        Click(Id::kSend);
        const PatchData expected = DataOf(*W().Patches().GetCurrent());
        QTRY_COMPARE(Unit().Patch(slot), expected);
        QCOMPARE(C<MokCheckBox>(Id::kRealTimeEdits)->isHidden(), slot != kEditBuffer);
        QCOMPARE(RealTimeEdits(), slot == kEditBuffer);
        if (slot != kEditBuffer) QCOMPARE(Unit().Patch(kEditBuffer), before);
        QVERIFY(messages.empty());
    }

    void requestOpensTheUnitsPatch_data() {
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("from");
        QTest::newRow("edit buffer") << int(Id::kTargetEdit) << 1 << kEditBuffer << "edit";
        QTest::newRow("A5") << int(Id::kTargetA) << 5 << Slot(false, 5) << "A5";
        QTest::newRow("B101") << int(Id::kTargetB) << 101 << Slot(true, 101) << "B101";
    }
    void requestOpensTheUnitsPatch() {
        QFETCH(int, target);
        QFETCH(int, number);
        QFETCH(int, slot);
        QFETCH(QString, from);
        // Something other than a fresh default patch.
        VF1Algorithm held(AlgorithmAtRow(20));
        held.SetName("Held");
        held.SetCategory(8);
        const PatchData data = DataOf(held);
        Unit().SetPatch(slot, data);
        Click(Id::kAutoSend);
        if (target != Id::kTargetEdit) SetTarget(target, number);

        LoadWhenOffered();
        Click(Id::kRequest);
        QCOMPARE(List()->RowCount(), 2);
        QCOMPARE(List()->SelectedRow(), 1);
        QVERIFY(!List()->HasFocusState(1));
        QCOMPARE(List()->Text(1, 0), QString::fromLatin1(held.GetDisplayName()));
        QCOMPARE(List()->Text(1, 1), QStringLiteral("Held"));
        QCOMPARE(List()->Text(1, 2), from);
        QCOMPARE(W().Patches().GetCurrentIndex(), 1);
        QCOMPARE(DataOf(*W().Patches().GetCurrent()), data);
        QCOMPARE(C<QLineEdit>(Id::kNameBox)->text(), QStringLiteral("Held"));
        QCOMPARE(C<QComboBox>(Id::kCategoryList)->currentIndex(), 8);
        QCOMPARE(C<QComboBox>(Id::kAlgorithmList)->currentIndex(), 20);
        QCOMPARE(RealTimeEdits(), slot == kEditBuffer);
        QCOMPARE(C<MokCheckBox>(Id::kRealTimeEdits)->isHidden(), slot != kEditBuffer);
        QVERIFY(messages.empty());
    }

    void requestWithoutAWholePatchAddsNoRow() {
        // Cancelled in the dialog.
        WhenModal<QDialog>([](QDialog* dialog) { dialog->reject(); });
        Click(Id::kRequest);
        QCOMPARE(List()->RowCount(), 1);
        // Loaded with a byte count that is not a patch's.
        LoadAtOnce loadAtOnce;
        VF1MIDI::Instance().SetDialogs(&loadAtOnce);
        Click(Id::kRequest);
        VF1MIDI::Instance().SetDialogs(transfers.get());
        QCOMPARE(List()->RowCount(), 1);
        QCOMPARE(W().Patches().GetCount(), 1);
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(
            QString::fromStdString(messages[0]),
            QStringLiteral("Didn't receive the right number of bytes for a Patch.  Cancelling reception."));
    }

    void bankPatchesShowWhereTheyCameFrom_data() {
        QTest::addColumn<int>("bank");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("from");
        QTest::newRow("first") << 1 << 0 << "1:A1";
        QTest::newRow("last of A") << 1 << 100 << "1:A101";
        QTest::newRow("first of B") << 1 << 101 << "1:B1";
        QTest::newRow("middle of B") << 1 << 150 << "1:B50";
        QTest::newRow("bank 2") << 2 << 117 << "2:B17";
    }
    void bankPatchesShowWhereTheyCameFrom() {
        QFETCH(int, bank);
        QFETCH(int, index);
        QFETCH(QString, from);
        VF1Algorithm patch(AlgorithmAtRow(7));
        patch.SetName("Banked");
        std::array<uint8_t, kPatchImageSize> image{};
        VF1MIDI::Instance().BuildPatchImage(patch, image.data());
        QVERIFY(W().OpenBankPatch(image.data(), bank, index));
        QCOMPARE(List()->Text(1, 2), from);
        QCOMPARE(List()->Text(1, 1), QStringLiteral("Banked"));
        QCOMPARE(List()->SelectedRow(), 1);
        QCOMPARE(DataOf(*W().Patches().GetCurrent()), DataOf(patch));
        // Opening it ran the auto-send step.
        QTRY_COMPARE(Unit().Patch(kEditBuffer), DataOf(patch));
    }

    void damagedBankPatchIsRefused() {
        VF1Algorithm patch(AlgorithmAtRow(7));
        std::array<uint8_t, kPatchImageSize> image{};
        VF1MIDI::Instance().BuildPatchImage(patch, image.data());
        image[0] = 0x00; // no longer an exclusive message
        QVERIFY(!W().OpenBankPatch(image.data(), 1, 3));
        QCOMPARE(List()->RowCount(), 1);
        QCOMPARE(W().Patches().GetCount(), 1);
        QCOMPARE(messages.size(), size_t(1));
    }

    void fileButtonsRoundTripAPatch() {
        QTest::keyClicks(C<QLineEdit>(Id::kNameBox), QStringLiteral("OnDisk"));
        auto* category = C<QComboBox>(Id::kCategoryList);
        category->setFocus();
        while (category->currentIndex() != 5)
            QTest::keyClick(category, category->currentIndex() < 5 ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(W().Patches().GetCurrent()->GetCategory(), 5);
        const QString first = dir->filePath(QStringLiteral("first"));
        WhenModal<QFileDialog>([first](QFileDialog* dialog) { TypeFileName(dialog, first); });
        Click(Id::kSave);
        const QString firstFile = first + QStringLiteral(".syx"); // the default extension
        const std::vector<uint8_t> saved = ReadFile(firstFile);
        QCOMPARE(saved.size(), size_t(kPatchFileSize));

        WhenModal<QFileDialog>([firstFile](QFileDialog* dialog) { TypeFileName(dialog, firstFile); });
        Click(Id::kLoad);
        QCOMPARE(List()->RowCount(), 2);
        QCOMPARE(List()->Text(1, 2), QStringLiteral("file"));
        QCOMPARE(List()->Text(1, 1), QStringLiteral("OnDisk"));
        QCOMPARE(C<QComboBox>(Id::kCategoryList)->currentIndex(), 5);

        // The loaded patch saves to the same bytes.
        const QString second = dir->filePath(QStringLiteral("second.syx"));
        QVERIFY(W().SavePatchToFile(second));
        QCOMPARE(ReadFile(second), saved);
        QVERIFY(messages.empty());
    }

    void failedLoadAndSaveChangeNothing() {
        const QString path = dir->filePath(QStringLiteral("kept.syx"));
        QVERIFY(W().SavePatchToFile(path));
        const std::vector<uint8_t> old = ReadFile(path);

        // The save cannot write its file: the old one stays whole and the user is told.
        QTest::keyClicks(C<QLineEdit>(Id::kNameBox), QStringLiteral("Changed"));
        {
            const FileSizeLimit diskFull(100);
            QVERIFY(!W().SavePatchToFile(path));
        }
        QCOMPARE(ReadFile(path), old);
        QCOMPARE(messages.size(), size_t(1));
        QVERIFY(QString::fromStdString(messages[0]).contains(path));

        // A file that is not a single patch adds no row.
        const QString shortFile = dir->filePath(QStringLiteral("short.syx"));
        std::ofstream(shortFile.toStdString(), std::ios::binary) << std::string(597, '\0');
        QVERIFY(!W().LoadPatchFromFile(shortFile));
        QCOMPARE(List()->RowCount(), 1);
        QCOMPARE(messages.size(), size_t(2));
    }

    void closingAsksOnlyWhenBanksAreUnsaved() {
        FakeBankManager banks;
        W().SetBankManager(&banks);
        banks.unsaved = true;
        answer = 2; // "No"
        W().close();
        QVERIFY(W().isVisible());
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(
            QString::fromStdString(messages[0]),
            QStringLiteral("You have unsaved changes in your banks.  Are you sure you want to quit without "
                           "saving them?"));
        // Escape closes nothing: a main window is not a dialog to cancel.
        QTest::keyClick(&W(), Qt::Key_Escape);
        QVERIFY(W().isVisible());
        QCOMPARE(messages.size(), size_t(1));
        // Enter is nobody's key here.
        QTest::keyClick(&W(), Qt::Key_Return);
        QVERIFY(W().isVisible());

        answer = 1;
        QSignalSpy finished(&W(), &QDialog::finished);
        W().close();
        QVERIFY(!W().isVisible());
        QCOMPARE(finished.count(), 1);

        banks.unsaved = false;
        messages.clear();
        W().show();
        W().close();
        QVERIFY(!W().isVisible());
        QVERIFY(messages.empty());
        W().SetBankManager(nullptr);
    }

    void bankManagerCalls() {
        FakeBankManager banks;
        W().SetBankManager(&banks);
        // Minimising always hides the manager; restoring shows it again only once "Banks" has
        // opened it.
        SetWindowState(Qt::WindowMinimized);
        SetWindowState(Qt::WindowNoState);
        QCOMPARE(banks.calls, std::vector<std::string>({"hide"}));
        banks.calls.clear();
        Click(Id::kBanks);
        SetWindowState(Qt::WindowMinimized);
        SetWindowState(Qt::WindowNoState);
        QCOMPARE(banks.calls, std::vector<std::string>({"show", "hide", "show"}));
        banks.calls.clear();

        // "Patch -> Bank" and a double-click on a row put the patch's image in the manager's slot.
        QTest::keyClicks(C<QLineEdit>(Id::kNameBox), QStringLiteral("ToBank"));
        Click(Id::kPatchToBank);
        std::array<uint8_t, kPatchImageSize> expected{};
        VF1MIDI::Instance().BuildPatchImage(*W().Patches().GetCurrent(), expected.data());
        QCOMPARE(banks.image, expected);
        DoubleClick(List()->viewport(), RowCentre(0));
        Click(Id::kPreviousBankPatch);
        Click(Id::kNextBankPatch);
        QCOMPARE(banks.calls, std::vector<std::string>({"changed", "changed", "previous", "next"}));
        W().SetBankManager(nullptr);
    }

    void midiSettingsOpenFromTheLcdAndLastBetweenRuns() {
        // A hand-edited file's "-1" would put 0xFF into every message's device byte.
        CloseWindow();
        {
            std::ofstream file(dir->filePath(QStringLiteral("settings.cfg")).toStdString(), std::ios::binary);
            file << "DevID=-1;InIdx=00;OutIdx=00";
        }
        OpenWindow();
        QCOMPARE(VF1MIDI::Instance().GetDeviceID(), 0);

        CloseWindow();
        {
            std::ofstream file(dir->filePath(QStringLiteral("settings.cfg")).toStdString(), std::ios::binary);
            file << "DevID=03;InIdx=00;OutIdx=00";
        }
        OpenWindow();
        QCOMPARE(VF1MIDI::Instance().GetDeviceID(), 3);
        QCOMPARE(W().MidiSettingsDialog().DeviceIdIndex(), 3);

        // Outside the hot spot nothing opens; inside it the dialog does, and what it holds when
        // it closes applies at once. The diagram's button window lies over the LCD picture.
        auto* lcd = qobject_cast<VF1FXButtonWnd*>(W().childAt(QPoint(60, 80)));
        QVERIFY(lcd != nullptr);
        QTest::mouseClick(lcd, Qt::LeftButton, {}, W().MidiSettingsHotSpot().bottomRight() + QPoint(1, 0));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        bool opened = false;
        WhenModal<VF1MIDIDlg>([&opened](VF1MIDIDlg* dialog) {
            opened = true;
            dialog->findChild<QComboBox*>(QStringLiteral("1019"))->setCurrentIndex(6);
            dialog->reject();
        });
        QTest::mouseClick(lcd, Qt::LeftButton, {}, W().MidiSettingsHotSpot().topLeft());
        QVERIFY(opened);
        QCOMPARE(VF1MIDI::Instance().GetDeviceID(), 6);

        // Shut-down writes the dialog's selections.
        CloseWindow();
        QCOMPARE(ReadFile(dir->filePath(QStringLiteral("settings.cfg"))),
                 std::vector<uint8_t>({'D', 'e', 'v', 'I', 'D', '=', '0', '6', ';', 'I', 'n', 'I', 'd', 'x',
                                       '=', '0', '0', ';', 'O', 'u', 't', 'I', 'd', 'x', '=', '0', '0'}));
        OpenWindow();
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindow_test.moc"
