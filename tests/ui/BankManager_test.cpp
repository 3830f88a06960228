// The bank manager on the offscreen platform: its lists, name boxes, files, the transfers with the
// built-in virtual unit, and the gestures that rearrange banks, driven through real widget events.

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QDragMoveEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <csignal>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <tuple>
#include <vector>

#include "app/VF1App.h"
#include "library/VF1Bank.h"
#include "midi/VF1MIDI.h"
#include "midi/VF1Settings.h"
#include "midi/drivers/MidiSystem.h"
#include "midi/drivers/VirtualUnitDriver.h"
#include "model/Report.h"
#include "model/tables/AlgorithmInfo.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/VirtualUnitRig.h"
#include "ui/dialogs/DialogTransfers.h"
#include "ui/editor/VF1PatchListCtrl.h"
#include "ui/editor/VF1main.h"
#include "ui/librarian/VF1BankDlg.h"
#include "ui/librarian/VF1BankDropSource.h"
#include "ui/librarian/VF1BankListBox.h"
#include "ui/widgets/Colours.h"

namespace {

using Id = VF1BankDlg::ControlId;

constexpr const char* kTooSmall = "Selected file is too small to be a bank file.";
constexpr const char* kCatastrophicFailure =
    "Catastrophic failure while attempting to load bank.  This bank has serious data/formatting issues, and "
    "I can't parse it properly.  Cancelling the load.";
constexpr const char* kCantSave =
    "The bank you're trying to save has empty (invalid) patches.  Can't save until "
    "every patch is valid.";
constexpr const char* kCantSend =
    "The bank you're trying to send has empty (invalid) patches.  Can't send until "
    "every patch is valid.";
constexpr const char* kDiscardQuestion =
    "Selected bank has unsaved changes.  Are you sure you want to discard them?";

// The image of a fresh patch of the algorithm in the given table row, named name.
PatchImage NamedImage(const std::string& name, int row = 0) {
    return FreshPatchImage(AlgorithmAtRow(row % kAlgorithmCount), name, 0);
}

// A bank file as the program writes it; slot i holds "<prefix><i>".
const std::vector<uint8_t>& BankFile(const std::string& prefix) {
    static std::map<std::string, std::vector<uint8_t>> made;
    const auto [at, fresh] = made.try_emplace(prefix);
    if (fresh)
        at->second = MakeBankFile([&prefix](int slot) {
            return FreshPatch{AlgorithmAtRow(slot % kAlgorithmCount), prefix + std::to_string(slot)};
        });
    return at->second;
}

std::vector<uint8_t> ReadFile(const QString& path) {
    std::ifstream file(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const QString& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path.toStdString(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string Name(const VF1Bank& bank, int slot) {
    std::string name = bank.GetAt(slot)->GetName();
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

QString AccessibleName(QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(QAccessible::Name) : QString();
}

// Answers the next file dialog with path, typed into its name box as a user does.
void AnswerFileDialog(const QString& path) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        poll->stop();
        poll->deleteLater();
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    });
    poll->start(20);
}

// Runs action on the first popup menu once it is up.
void WhenMenu(std::function<void(QMenu*)> action) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            poll->stop();
            poll->deleteLater();
            action(menu);
        }
    });
    poll->start(20);
}

} // namespace

class BankManagerTest : public QObject, VirtualUnitRig {
    Q_OBJECT

  private:
    VF1BankDlg& D() { return *dialog; }
    VF1BankListBox* L(int bank) { return D().List(bank); }
    VF1Bank& B(int bank) { return *D().Bank(bank); }
    QString Path(const char* name) { return dir->filePath(QString::fromLatin1(name)); }
    QColor NameBoxColour(int bank) { return D().NameBox(bank)->palette().color(QPalette::Base); }
    QPoint RowCentre(VF1BankListBox* list, int row) { return list->visualItemRect(list->item(row)).center(); }
    void Click(int id) { QTest::mouseClick(D().ControlById(id), Qt::LeftButton); }
    void LoadBoth() {
        WriteFile(Path("one.syx"), BankFile("One "));
        WriteFile(Path("two.syx"), BankFile("Two "));
        QVERIFY(D().LoadBankFile(1, Path("one.syx")));
        QVERIFY(D().LoadBankFile(2, Path("two.syx")));
    }
    void SelectRow(VF1BankListBox* list, int row) {
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, row));
    }
    // A drag of one of our own patches held over a row: what the list answers.
    std::tuple<bool, Qt::DropAction> DragOver(VF1BankListBox* source, int index, VF1BankListBox* target,
                                              int row, Qt::KeyboardModifiers keys) {
        BankDragRecord record(source->GetBank()->GetAt(index), source, index);
        const Qt::DropActions offered = source->IsHolder() ? Qt::CopyAction | Qt::MoveAction
                                                           : Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        const QPoint at = RowCentre(target, row);
        QDragEnterEvent enter(at, offered, &record, Qt::LeftButton, keys);
        QApplication::sendEvent(target->viewport(), &enter);
        QDragMoveEvent move(at, offered, &record, Qt::LeftButton, keys);
        QApplication::sendEvent(target->viewport(), &move);
        QDropEvent drop(at, offered, &record, Qt::LeftButton, keys);
        if (move.isAccepted()) QApplication::sendEvent(target->viewport(), &drop);
        return {move.isAccepted(), move.isAccepted() ? move.dropAction() : Qt::IgnoreAction};
    }

    std::unique_ptr<DialogTransfers> transfers;
    std::unique_ptr<VF1BankDlg> dialog;
    std::vector<std::tuple<int, int, std::string>> opened; // bank, slot, name

  private slots:
    void initTestCase() { RecordMessages(); }
    void cleanupTestCase() { StopRecording(); }

    void init() {
        StartUnit();
        dialog = std::make_unique<VF1BankDlg>();
        transfers = std::make_unique<DialogTransfers>(dialog.get());
        VF1MIDI::Instance().SetDialogs(transfers.get());
        opened.clear();
        dialog->SetPatchOpener([this](const uint8_t* image, int bank, int index) {
            VF1Patch patch;
            patch.SetImage(std::span<const uint8_t, kPatchImageSize>(image, kPatchImageSize), false);
            std::string name = patch.GetName();
            name.erase(name.find_last_not_of(' ') + 1);
            opened.emplace_back(bank, index, name);
            return true;
        });
        dialog->ShowManager();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        messages.clear();
    }

    void cleanup() {
        VF1MIDI::Instance().SetDialogs(nullptr);
        transfers.reset();
        dialog.reset();
        StopUnit();
    }

    void opensWithTwoEmptyBanksAndAnEmptyHolder() {
        QCOMPARE(D().windowTitle(), QStringLiteral("  Patch Banks"));
        QCOMPARE(D().size(), QSize(585, 543));
        for (const int bank : {1, 2}) {
            QCOMPARE(L(bank)->count(), kPatchCount);
            QCOMPARE(L(bank)->item(0)->text(), QStringLiteral("empty          "));
            QCOMPARE(L(bank)->SelectedIndex(), -1);
            QCOMPARE(D().NameBox(bank)->text(), QString());
            QCOMPARE(NameBoxColour(bank), Colours::Lime);
            QVERIFY(D().NameBox(bank)->isReadOnly());
        }
        QCOMPARE(D().HolderList()->count(), 1);
        QVERIFY(qobject_cast<QRadioButton*>(D().ControlById(Id::kBank1Radio))->isChecked());
        QCOMPARE(D().ActiveBankNumber(), 1);
        QVERIFY(!D().HasUnsavedChanges());
    }

    // What a screen reader or a test tool reads: rows by their slot label, name and algorithm.
    void listsReadAsTheyAreDrawn() {
        LoadBoth();
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(L(1));
        QVERIFY(list != nullptr);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Bank 1"));
        QCOMPARE(list->childCount(), kPatchCount);
        const std::vector<std::pair<int, const char*>> rows = {{0, "A 1: One 0 "},
                                                               {9, "A10: One 9 "},
                                                               {100, "A101: One 100 "},
                                                               {101, "B 1: One 101 "},
                                                               {201, "B101: One 201 "}};
        for (const auto& [row, start] : rows)
            QCOMPARE(list->child(row)->text(QAccessible::Name),
                     QString::fromLatin1(start) +
                         QString::fromLatin1(AlgorithmDisplayName(AlgorithmAtRow(row % kAlgorithmCount))));
        QCOMPARE(QAccessible::queryAccessibleInterface(L(2))->child(0)->text(QAccessible::Name).left(11),
                 QStringLiteral("A 1: Two 0 "));

        // An empty slot reads as its row shows it; the selected row says so.
        SelectRow(L(1), 4);
        QTest::keyClick(L(1), Qt::Key_Delete);
        QCOMPARE(list->child(kPatchCount - 1)->text(QAccessible::Name), QStringLiteral("B101: empty"));
        QVERIFY(list->child(4)->state().selected);
        QVERIFY(!list->child(3)->state().selected);

        // The holder: one row, its patch name and algorithm.
        const PatchImage held = NamedImage("Held", 3);
        std::copy(held.begin(), held.end(), D().EditedPatchImage());
        D().EditedPatchChanged();
        QAccessibleInterface* holder = QAccessible::queryAccessibleInterface(D().HolderList());
        QCOMPARE(holder->role(), QAccessible::List);
        QCOMPARE(holder->childCount(), 1);
        QCOMPARE(holder->child(0)->text(QAccessible::Name),
                 QStringLiteral("Held ") + QString::fromLatin1(AlgorithmDisplayName(AlgorithmAtRow(3))));

        // Name boxes report their text; buttons and radios their captions.
        QCOMPARE(AccessibleName(D().NameBox(1)), QStringLiteral("one.syx"));
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(D().NameBox(2))->textInterface();
        QVERIFY(text != nullptr);
        QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("two.syx"));
        for (const auto& [id, caption] :
             std::vector<std::pair<int, const char*>>{{Id::kLoad, "Load"},
                                                      {Id::kSave, "Save"},
                                                      {Id::kSend, "Send"},
                                                      {Id::kReceive, "Receive"},
                                                      {Id::kEdit, "Edit->"},
                                                      {Id::kBank1Radio, "Bank 1"},
                                                      {Id::kBank2Radio, "Bank 2"}})
            QCOMPARE(AccessibleName(D().ControlById(id)), QString::fromLatin1(caption));
    }

    // Rows 1-10 of each group light, 11-20 dark, and so on; row 101 dark; the selection blue.
    void rowsComeInTens() {
        LoadBoth();
        SelectRow(L(2), 3);
        const std::vector<std::tuple<int, int, QColor>> rows = {
            {1, 0, QColor(194, 255, 53)},   {1, 9, QColor(194, 255, 53)},   {1, 10, QColor(182, 239, 50)},
            {1, 20, QColor(194, 255, 53)},  {1, 99, QColor(182, 239, 50)},  {1, 100, QColor(182, 239, 50)},
            {1, 101, QColor(194, 255, 53)}, {1, 111, QColor(182, 239, 50)}, {2, 3, Colours::SelectionBlue},
        };
        for (const auto& [bank, row, fill] : rows) {
            VF1BankListBox* list = L(bank);
            list->scrollToItem(list->item(row));
            const QRect rect = list->visualItemRect(list->item(row));
            QCOMPARE(rect.height(), VF1BankListBox::kRowHeight);
            const QImage picture = list->viewport()->grab().toImage();
            QCOMPARE(picture.pixelColor(rect.left() + 1, rect.top() + 1), fill);
        }
        QCOMPARE(D().HolderList()->visualItemRect(D().HolderList()->item(0)).height(),
                 VF1BankListBox::kHolderRowHeight);
    }

    void loadAndSaveRoundTrip() {
        WriteFile(Path("one.syx"), BankFile("One "));
        QVERIFY(D().LoadBankFile(1, Path("one.syx")));
        QVERIFY(messages.empty());
        QCOMPARE(D().NameBox(1)->text(), QStringLiteral("one.syx"));
        QCOMPARE(NameBoxColour(1), Colours::Lime);
        QCOMPARE(Name(B(1), 57), std::string("One 57"));
        QCOMPARE(L(1)->item(57)->text().left(6), QStringLiteral("One 57"));
        QVERIFY(!D().HasUnsavedChanges());

        QVERIFY(D().SaveBankFile(Path("copy.syx")));
        QCOMPARE(ReadFile(Path("copy.syx")), BankFile("One "));
        QCOMPARE(D().NameBox(1)->text(), QStringLiteral("copy.syx"));
        // No temporary file is left beside it.
        QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*.syx*")}, QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("copy.syx"), QStringLiteral("one.syx")}));
    }

    // Load and Save through their buttons and file dialogs; the saved file gets ".syx".
    void buttonsLoadAndSaveThroughFileDialogs() {
        WriteFile(Path("two.syx"), BankFile("Two "));
        Click(Id::kBank2Radio);
        AnswerFileDialog(Path("two.syx"));
        Click(Id::kLoad);
        QCOMPARE(D().NameBox(2)->text(), QStringLiteral("two.syx"));
        AnswerFileDialog(Path("saved"));
        Click(Id::kSave);
        QCOMPARE(ReadFile(Path("saved.syx")), BankFile("Two "));
        QCOMPARE(D().NameBox(2)->text(), QStringLiteral("saved.syx"));
        QVERIFY(messages.empty());
    }

    void loadTakesBankSizedFilesAndReadsAtMostAFewMore_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one byte short") << 118182 << false << QStringList{QString::fromLatin1(kTooSmall)};
        QTest::newRow("a bank") << 118183 << true << QStringList{};
        QTest::newRow("empty") << 0 << false << QStringList{QString::fromLatin1(kTooSmall)};
    }
    void loadTakesBankSizedFilesAndReadsAtMostAFewMore() {
        QFETCH(int, size);
        QFETCH(bool, loads);
        QFETCH(QStringList, expected);
        WriteFile(Path("two.syx"), BankFile("Two "));
        QVERIFY(D().LoadBankFile(1, Path("two.syx")));
        std::vector<uint8_t> bytes = BankFile("One ");
        bytes.resize(static_cast<size_t>(size));
        WriteFile(Path("file.syx"), bytes);
        QCOMPARE(D().LoadBankFile(1, Path("file.syx")), loads);
        QStringList shown;
        for (const std::string& text : messages) shown << QString::fromStdString(text);
        QCOMPARE(shown, expected);
        QCOMPARE(Name(B(1), 0), std::string(loads ? "One 0" : "Two 0"));
        QCOMPARE(D().NameBox(1)->text(), QString::fromLatin1(loads ? "file.syx" : "two.syx"));
    }

    // Only the first 121000 bytes of a larger file are read: patches placed beyond them are not
    // found.
    void loadReadsNoFurtherThanTheLimit() {
        const std::vector<uint8_t>& bank = BankFile("One ");
        std::vector<uint8_t> bytes(bank.begin(), bank.begin() + kPatchImageSize * 200);
        bytes.resize(121000, 0x00);
        bytes.insert(bytes.end(), bank.begin() + kPatchImageSize * 200, bank.end());
        WriteFile(Path("long.syx"), bytes);
        QVERIFY(D().LoadBankFile(2, Path("long.syx")));
        QCOMPARE(messages.size(), size_t(1)); // the slots it could not find were skipped
        QCOMPARE(Name(B(2), 199), std::string("One 199"));
        QVERIFY(!B(2).GetAt(200)->IsValid());
        QVERIFY(!B(2).GetAt(201)->IsValid());
    }

    void unparseableFileKeepsTheOldBank() {
        WriteFile(Path("one.syx"), BankFile("One "));
        QVERIFY(D().LoadBankFile(1, Path("one.syx")));
        std::vector<uint8_t> bytes = BankFile("Two ");
        bytes[0] = 0x00;
        WriteFile(Path("bad.syx"), bytes);
        QVERIFY(!D().LoadBankFile(1, Path("bad.syx")));
        QCOMPARE(messages,
                 (std::vector<std::string>{
                     "This doesn't appear to be a valid VF-1 patch bank file.  The first byte isn't 0xF0.",
                     kCatastrophicFailure}));
        QCOMPARE(Name(B(1), 3), std::string("One 3"));
        QCOMPARE(D().NameBox(1)->text(), QStringLiteral("one.syx"));
        QVERIFY(!D().LoadBankFile(1, Path("missing.syx")));
        QVERIFY(QString::fromStdString(messages.back()).contains(QStringLiteral("missing.syx")));
    }

    // Loading into a bank with unsaved changes asks first; No keeps everything.
    void unsavedChangesAreAskedAbout() {
        LoadBoth();
        SelectRow(L(2), 0);
        QTest::keyClick(L(2), Qt::Key_Delete);
        QVERIFY(D().HasUnsavedChanges());
        Click(Id::kBank2Radio);
        QCOMPARE(D().ActiveBankNumber(), 2);
        answer = 2;
        Click(Id::kLoad);
        Click(Id::kReceive);
        QCOMPARE(messages, (std::vector<std::string>{kDiscardQuestion, kDiscardQuestion}));
        QCOMPARE(Name(B(2), 0), std::string("Two 1"));
        QCOMPARE(NameBoxColour(2), Colours::Red);
        // Bank 1 has nothing to lose: no question.
        messages.clear();
        Click(Id::kBank1Radio);
        QVERIFY(D().LoadBankFile(1, Path("two.syx")));
        QVERIFY(messages.empty());
    }

    // A bank with an empty slot is neither saved nor sent; filled with Ctrl+drop, it saves.
    void emptySlotsBlockSaveAndSend() {
        QVERIFY(!D().SaveBankFile(Path("empty.syx")));
        Click(Id::kSend);
        QCOMPARE(messages, (std::vector<std::string>{kCantSave, kCantSend}));
        QVERIFY(!QFile::exists(Path("empty.syx")));
        QCOMPARE(devices->Virtual().Unit().GoodMessages(), 0);

        LoadBoth();
        SelectRow(L(1), 0);
        QTest::keyClick(L(1), Qt::Key_Delete);
        QCOMPARE(NameBoxColour(1), Colours::Red);
        messages.clear();
        QVERIFY(!D().SaveBankFile(Path("one.syx")));
        QCOMPARE(messages, std::vector<std::string>{kCantSave});
        QVERIFY(L(1)->DropFrom(L(2), 9, kPatchCount - 1, DropEffect::Replace));
        QVERIFY(D().SaveBankFile(Path("one.syx")));
        QCOMPARE(NameBoxColour(1), Colours::Lime);
        QVERIFY(!B(1).IsModified());
        VF1Bank reread(ReadFile(Path("one.syx")).data(), kBankFileSize);
        QCOMPARE(Name(reread, 0), std::string("One 1"));
        QCOMPARE(Name(reread, kPatchCount - 1), std::string("Two 9"));
    }

    // A save that fails leaves the file on disk as it was and the bank unsaved, and says why.
    void failedSaveKeepsTheOldFileAndTheBankUnsaved() {
        LoadBoth();
        SelectRow(L(1), 5);
        QVERIFY(L(1)->DropFrom(L(2), 7, 5, DropEffect::Replace));
        QCOMPARE(NameBoxColour(1), Colours::Red);
        const std::vector<uint8_t> before = ReadFile(Path("one.syx"));

        // The disk fills up half way: a write past this size fails.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 50000;
        setrlimit(RLIMIT_FSIZE, &small);
        messages.clear();
        const bool saved1 = D().SaveBankFile(Path("one.syx"));
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousSignal);
        QVERIFY(!saved1);
        QCOMPARE(messages.size(), size_t(1));
        QVERIFY2(QString::fromStdString(messages[0]).contains(Path("one.syx")), messages[0].c_str());
        QVERIFY2(QString::fromStdString(messages[0]).contains(QStringLiteral("File too large")),
                 messages[0].c_str());
        QCOMPARE(ReadFile(Path("one.syx")), before);
        QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("one.syx*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("one.syx")});
        QVERIFY(B(1).IsModified());
        QCOMPARE(NameBoxColour(1), Colours::Red);
        QCOMPARE(D().NameBox(1)->text(), QStringLiteral("one.syx"));

        // A folder that doesn't exist: the file cannot be created.
        messages.clear();
        QVERIFY(!D().SaveBankFile(Path("nowhere/one.syx")));
        QCOMPARE(messages.size(), size_t(1));
        QVERIFY(QString::fromStdString(messages[0]).contains(QStringLiteral("No such file or directory")));
        QVERIFY(D().HasUnsavedChanges());
    }

    // Through the built-in virtual unit: a received bank is the unit's memory, named "from VF-1"
    // and not unsaved; a sent bank becomes the unit's memory.
    void receiveAndSendThroughTheVirtualUnit() {
        VirtualUnit& unit = devices->Virtual().Unit();
        QVERIFY(unit.LoadBankFile(BankFile("Unit ")));
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [poll] {
            auto* receiving = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            auto* load = receiving ? receiving->findChild<QPushButton*>(QStringLiteral("1")) : nullptr;
            if (load && load->isEnabled()) {
                poll->stop();
                load->click();
            }
        });
        poll->start(50);
        Click(Id::kBank2Radio);
        Click(Id::kReceive);
        delete poll;
        QVERIFY(messages.empty());
        QCOMPARE(D().NameBox(2)->text(), QStringLiteral("from VF-1"));
        QCOMPARE(NameBoxColour(2), Colours::Lime);
        QVERIFY(!D().HasUnsavedChanges());
        for (const int slot : {0, 100, 201}) QCOMPARE(Name(B(2), slot), "Unit " + std::to_string(slot));

        WriteFile(Path("one.syx"), BankFile("One "));
        QVERIFY(D().LoadBankFile(1, Path("one.syx")));
        SelectRow(L(1), 2);
        QTest::keyClick(L(1), Qt::Key_Delete);
        QVERIFY(L(1)->DropFrom(L(2), 0, kPatchCount - 1, DropEffect::Replace));
        Click(Id::kBank1Radio);
        Click(Id::kSend);
        unit.Flush();
        QVERIFY(messages.empty());
        const std::vector<uint8_t> memory = unit.BankFile();
        VF1Bank sent(memory.data(), memory.size());
        for (int slot = 0; slot < kPatchCount; ++slot) QCOMPARE(Name(sent, slot), Name(B(1), slot));
        QCOMPARE(Name(sent, kPatchCount - 1), std::string("Unit 0"));
        // Sending is not saving.
        QVERIFY(B(1).IsModified());
    }

    void stepPatchWrapsAround_data() {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("next");
        QTest::addColumn<int>("expected");
        QTest::newRow("forward from B101") << 201 << 1 << 0;
        QTest::newRow("backward from A1") << 0 << 0 << 201;
        QTest::newRow("forward from nothing") << -1 << 1 << 0;
        QTest::newRow("backward from nothing") << -1 << 0 << 201;
        QTest::newRow("forward") << 57 << 1 << 58;
        QTest::newRow("backward") << 57 << 0 << 56;
    }
    void stepPatchWrapsAround() {
        QFETCH(int, selected);
        QFETCH(int, next);
        QFETCH(int, expected);
        LoadBoth();
        Click(Id::kBank2Radio);
        if (selected >= 0) L(2)->SelectIndex(selected);
        D().StepPatch(next);
        QCOMPARE(L(2)->SelectedIndex(), expected);
        QCOMPARE(opened, (std::vector<std::tuple<int, int, std::string>>{
                             {2, expected, "Two " + std::to_string(expected)}}));
    }

    // An empty slot is selected but not opened; Edit-> follows the radio buttons, a double-click
    // its own list.
    void openingPatches() {
        LoadBoth();
        SelectRow(L(1), kPatchCount - 1);
        QTest::keyClick(L(1), Qt::Key_Delete);
        L(1)->SelectIndex(kPatchCount - 2);
        D().StepPatch(1);
        QCOMPARE(L(1)->SelectedIndex(), kPatchCount - 1);
        Click(Id::kEdit);
        QVERIFY(opened.empty());

        SelectRow(L(2), 4);
        QTest::mouseDClick(L(2)->viewport(), Qt::LeftButton, {}, RowCentre(L(2), 4));
        QCOMPARE(D().ActiveBankNumber(), 1);
        SelectRow(L(1), 7);
        Click(Id::kEdit);
        L(2)->setFocus();
        QTest::keyClick(L(2), Qt::Key_Return);
        QCOMPARE(opened, (std::vector<std::tuple<int, int, std::string>>{
                             {2, 4, "Two 4"}, {1, 7, "One 7"}, {2, 4, "Two 4"}}));
    }

    void editedPatchComesFromTheEditor() {
        const PatchImage image = NamedImage("Fresh", 5);
        std::copy(image.begin(), image.end(), D().EditedPatchImage());
        D().EditedPatchChanged();
        QCOMPARE(D().HolderList()->item(0)->text(),
                 QStringLiteral("Fresh          ") +
                     QString::fromLatin1(AlgorithmDisplayName(AlgorithmAtRow(5))));
        // Dragged into a bank it is inserted, or copies over a row with Ctrl; it offers no swap.
        LoadBoth();
        QCOMPARE(DragOver(D().HolderList(), 0, L(2), 3, Qt::AltModifier),
                 std::make_tuple(false, Qt::IgnoreAction));
        QCOMPARE(DragOver(D().HolderList(), 0, L(2), 3, Qt::NoModifier),
                 std::make_tuple(true, Qt::CopyAction));
        QCOMPARE(Name(B(2), 3), std::string("Fresh"));
        QCOMPARE(Name(B(2), 4), std::string("Two 3"));
        QCOMPARE(DragOver(D().HolderList(), 0, L(1), 8, Qt::ControlModifier),
                 std::make_tuple(true, Qt::MoveAction));
        QCOMPARE(Name(B(1), 8), std::string("Fresh"));
        QCOMPARE(Name(B(1), 9), std::string("One 9"));
        // The holder takes no drop at all.
        QCOMPARE(DragOver(L(1), 0, D().HolderList(), 0, Qt::NoModifier),
                 std::make_tuple(false, Qt::IgnoreAction));
        QCOMPARE(Name(D().Holder(), 0), std::string("Fresh"));
    }

    // What a drag held over a row offers with each key, and what its drop does.
    void dragOverAndDropThroughTheLists() {
        LoadBoth();
        // Alt or Shift onto an empty slot offers nothing.
        SelectRow(L(2), 6);
        QTest::keyClick(L(2), Qt::Key_Delete);
        QCOMPARE(DragOver(L(1), 1, L(2), kPatchCount - 1, Qt::AltModifier),
                 std::make_tuple(false, Qt::IgnoreAction));
        QCOMPARE(DragOver(L(1), 1, L(2), kPatchCount - 1, Qt::ShiftModifier),
                 std::make_tuple(false, Qt::IgnoreAction));
        // Ctrl fills it.
        L(2)->scrollToTop();
        QCOMPARE(DragOver(L(1), 1, L(2), 6, Qt::ControlModifier), std::make_tuple(true, Qt::MoveAction));
        QCOMPARE(Name(B(2), 6), std::string("One 1"));
        QCOMPARE(L(2)->SelectedIndex(), 6);
        // Alt swaps across banks and marks both.
        for (const int bank : {1, 2}) B(bank).ClearModified(), D().MarkSaved(L(bank));
        QCOMPARE(DragOver(L(1), 2, L(2), 9, Qt::AltModifier), std::make_tuple(true, Qt::LinkAction));
        QCOMPARE(Name(B(2), 9), std::string("One 2"));
        QCOMPARE(Name(B(1), 2), std::string("Two 10"));
        QVERIFY(B(1).IsModified() && B(2).IsModified());
        QCOMPARE(NameBoxColour(1), Colours::Red);
        QCOMPARE(NameBoxColour(2), Colours::Red);
        // A plain drop moves within a bank.
        QCOMPARE(DragOver(L(1), 5, L(1), 1, Qt::NoModifier), std::make_tuple(true, Qt::CopyAction));
        QCOMPARE(Name(B(1), 1), std::string("One 5"));
        QCOMPARE(L(1)->SelectedIndex(), 1);
    }

    // Near the top or bottom edge the list scrolls and offers no drop.
    void dragNearTheEdgesScrolls() {
        LoadBoth();
        VF1BankListBox* list = L(2);
        QScrollBar* bar = list->verticalScrollBar();
        bar->setValue(50);
        BankDragRecord record(B(1).GetAt(0), L(1), 0);
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        auto hover = [&](int y) {
            QDragEnterEvent enter(QPoint(40, y), offered, &record, Qt::LeftButton, {});
            QApplication::sendEvent(list->viewport(), &enter);
            QDragMoveEvent move(QPoint(40, y), offered, &record, Qt::LeftButton, {});
            QApplication::sendEvent(list->viewport(), &move);
            return move.isAccepted();
        };
        QVERIFY(!hover(5));
        QCOMPARE(bar->value(), 40);
        QVERIFY(!hover(15));
        QCOMPARE(bar->value(), 38);
        const int h = list->viewport()->height();
        QVERIFY(!hover(h - 5));
        QCOMPARE(bar->value(), 48);
        QVERIFY(!hover(h - 20));
        QCOMPARE(bar->value(), 50);
        QVERIFY(hover(h / 2));
        QCOMPARE(bar->value(), 50);
        // Resting in the zone keeps scrolling.
        QVERIFY(!hover(15));
        QTRY_VERIFY(bar->value() <= 30);
        QDragLeaveEvent leave;
        QApplication::sendEvent(list->viewport(), &leave);
        const int stopped = bar->value();
        QTest::qWait(150);
        QCOMPARE(bar->value(), stopped);
    }

    void autoScrollRule_data() {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("nearest");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("expected"); // -1: no scroll
        QTest::newRow("top edge, fast") << 9 << 30 << 30 << 202 << 20;
        QTest::newRow("top zone, slow") << 10 << 30 << 31 << 202 << 28;
        QTest::newRow("top zone, near the start") << 3 << 4 << 4 << 202 << 0;
        QTest::newRow("top zone at the start") << 3 << 0 << 0 << 202 << -1;
        QTest::newRow("below the top zone") << 25 << 30 << 32 << 202 << -1;
        QTest::newRow("bottom zone, slow") << 471 << 30 << 72 << 202 << 32;
        QTest::newRow("bottom edge, fast") << 491 << 30 << 74 << 202 << 40;
        QTest::newRow("bottom zone over the last two") << 491 << 157 << 200 << 202 << -1;
        QTest::newRow("above the bottom zone") << 470 << 30 << 72 << 202 << -1;
        QTest::newRow("a one-row list") << 3 << 0 << 0 << 1 << -1;
    }
    void autoScrollRule() {
        QFETCH(int, y);
        QFETCH(int, top);
        QFETCH(int, nearest);
        QFETCH(int, count);
        QFETCH(int, expected);
        QCOMPARE(VF1BankListBox::AutoScrollTop(y, 500, top, nearest, count).value_or(-1), expected);
    }

    // Ctrl+C, Ctrl+V and Ctrl+Shift+V do what the drags do; Delete empties a slot.
    void keysRearrangeBanks() {
        LoadBoth();
        // Copied in bank 1, pasted before A3 of bank 2: inserted, bank 2's B101 lost.
        SelectRow(L(1), 10);
        QTest::keyClick(L(1), Qt::Key_C, Qt::ControlModifier);
        SelectRow(L(2), 2);
        QTest::keyClick(L(2), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Name(B(2), 2), std::string("One 10"));
        QCOMPARE(Name(B(2), 3), std::string("Two 2"));
        QCOMPARE(Name(B(2), kPatchCount - 1), std::string("Two 200"));
        QCOMPARE(NameBoxColour(2), Colours::Red);
        QCOMPARE(NameBoxColour(1), Colours::Lime);
        // Within the bank it was copied from, a paste moves it as a plain drag does.
        SelectRow(L(1), 3);
        QTest::keyClick(L(1), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Name(B(1), 3), std::string("One 10"));
        QCOMPARE(Name(B(1), 11), std::string("One 11"));
        QCOMPARE(Name(B(1), 10), std::string("One 9"));
        QCOMPARE(L(1)->SelectedIndex(), 3);
        // Ctrl+Shift+V copies over the selected row.
        SelectRow(L(2), 50);
        QTest::keyClick(L(2), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Name(B(2), 50), std::string("One 10"));
        QCOMPARE(Name(B(2), 51), std::string("Two 50"));
        // The copy keeps what it held when the slot it came from has changed since.
        SelectRow(L(1), 3);
        QTest::keyClick(L(1), Qt::Key_Delete);
        SelectRow(L(2), 60);
        QTest::keyClick(L(2), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Name(B(2), 60), std::string("One 10"));
        // Delete on A1 moves the emptied slot to B101; the selection stays.
        SelectRow(L(2), 0);
        QTest::keyClick(L(2), Qt::Key_Delete);
        QCOMPARE(Name(B(2), 0), std::string("Two 1"));
        QCOMPARE(Name(B(2), kPatchCount - 1), std::string("empty"));
        QCOMPARE(L(2)->SelectedIndex(), 0);
        // Delete on an empty slot does nothing.
        B(2).ClearModified();
        SelectRow(L(2), kPatchCount - 1);
        QTest::keyClick(L(2), Qt::Key_Delete);
        QVERIFY(!B(2).IsModified());
        QCOMPARE(L(2)->SelectedIndex(), kPatchCount - 1);
        // The holder takes no paste.
        L(1)->SelectIndex(0);
        QTest::keyClick(L(1), Qt::Key_C, Qt::ControlModifier);
        D().HolderList()->SelectIndex(0);
        QTest::keyClick(D().HolderList(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(!D().Holder().GetAt(0)->IsValid());
    }

    void contextMenuSwapsWithTheOtherBanksSelection() {
        LoadBoth();
        SelectRow(L(2), 20);
        SelectRow(L(1), 30);
        QStringList entries;
        WhenMenu([&entries](QMenu* menu) {
            for (QAction* action : menu->actions())
                if (!action->isSeparator()) entries << action->text();
            for (QAction* action : menu->actions())
                if (action->text() == QStringLiteral("Swap with the other bank's selection"))
                    action->trigger();
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Keyboard, RowCentre(L(1), 30),
                                L(1)->mapToGlobal(RowCentre(L(1), 30)));
        QApplication::sendEvent(L(1), &event);
        QCOMPARE(entries, (QStringList{QStringLiteral("Copy"), QStringLiteral("Paste (insert)"),
                                       QStringLiteral("Paste (replace)"),
                                       QStringLiteral("Swap with the other bank's selection"),
                                       QStringLiteral("Delete")}));
        QCOMPARE(Name(B(1), 30), std::string("Two 20"));
        QCOMPARE(Name(B(2), 20), std::string("One 30"));
        QCOMPARE(NameBoxColour(1), Colours::Red);
        QCOMPARE(NameBoxColour(2), Colours::Red);
    }

    // A single-patch file from a file manager goes in before the row (Ctrl: over it); a file that
    // is no patch gets Load's message and changes nothing.
    void fileDropsGoInLikeAPatchFromAnotherBank() {
        LoadBoth();
        const PatchImage image = NamedImage("Dropped", 2);
        static constexpr std::array<uint8_t, kTerminatorSize> kClosing = {
            0xF0, 0x41, 0x00, 0x00, 0x23, 0x12, 0x60, 0x00, 0x00, 0x00, 0x00, 0x20, 0xF7};
        std::vector<uint8_t> file(kPatchFileSize);
        std::copy(image.begin(), image.end(), file.begin());
        std::copy(kClosing.begin(), kClosing.end(), file.begin() + kPatchImageSize);
        WriteFile(Path("dropped.syx"), file);
        WriteFile(Path("short.syx"), std::vector<uint8_t>(300, 0xF0));
        auto dropFile = [&](const QString& path, int row, Qt::KeyboardModifiers keys) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            const QPoint at = RowCentre(L(2), row);
            QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, keys);
            QApplication::sendEvent(L(2)->viewport(), &enter);
            QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, keys);
            QApplication::sendEvent(L(2)->viewport(), &move);
            // A file is always taken as a copy, never moved away from its folder.
            QCOMPARE(move.dropAction(), Qt::CopyAction);
            QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, keys);
            QApplication::sendEvent(L(2)->viewport(), &drop);
            QVERIFY(drop.isAccepted());
            QTest::qWait(20);
        };
        dropFile(Path("dropped.syx"), 4, Qt::NoModifier);
        QCOMPARE(Name(B(2), 4), std::string("Dropped"));
        QCOMPARE(Name(B(2), 5), std::string("Two 4"));
        QCOMPARE(NameBoxColour(2), Colours::Red);
        dropFile(Path("dropped.syx"), 9, Qt::ControlModifier);
        QCOMPARE(Name(B(2), 9), std::string("Dropped"));
        QCOMPARE(Name(B(2), 10), std::string("Two 9"));
        QVERIFY(QFile::exists(Path("dropped.syx")));
        QVERIFY(messages.empty());

        dropFile(Path("short.syx"), 12, Qt::NoModifier);
        QCOMPARE(messages, std::vector<std::string>{
                               "Incorrect SysEx file size.  A single patch file will be 598 bytes."});
        QCOMPARE(Name(B(2), 12), std::string("Two 11"));
    }

    // The main window and the bank manager as the application connects them.
    void mainWindowAndBankManagerTogether() {
        VF1main window;
        VF1App::ConnectBankManager(window, D());
        D().HideManager();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        VF1PatchListCtrl* patches = window.PatchListView();

        // "Banks" shows the manager.
        QTest::mouseClick(window.ControlById(VF1main::kBanks), Qt::LeftButton);
        QVERIFY(D().isVisible());

        // "Patch -> Bank" fills the holder with the editor's patch.
        window.Patches().GetCurrent()->SetName("To The Bank");
        QTest::mouseClick(window.ControlById(VF1main::kPatchToBank), Qt::LeftButton);
        QCOMPARE(Name(D().Holder(), 0), std::string("To The Bank"));

        // The bank patch "+" opens the next patch of the active bank in the editor.
        WriteFile(Path("two.syx"), BankFile("Two "));
        QVERIFY(D().LoadBankFile(2, Path("two.syx")));
        Click(Id::kBank2Radio);
        L(2)->SelectIndex(kPatchCount - 1);
        QTest::mouseClick(window.ControlById(VF1main::kNextBankPatch), Qt::LeftButton);
        QCOMPARE(patches->RowCount(), 2);
        QCOMPARE(patches->Text(1, VF1PatchListCtrl::kFromColumn), QStringLiteral("2:A1"));
        QCOMPARE(QString::fromStdString(window.Patches().GetCurrent()->GetName()).trimmed(),
                 QStringLiteral("Two 0"));
        QTest::mouseClick(window.ControlById(VF1main::kPreviousBankPatch), Qt::LeftButton);
        QCOMPARE(patches->Text(2, VF1PatchListCtrl::kFromColumn), QStringLiteral("2:B101"));

        // A patch file dropped onto the patch list opens there as Load opens it.
        VF1Patch patch;
        patch.SetImage(NamedImage("From A File", 4), false);
        std::vector<uint8_t> file(kPatchFileSize);
        std::copy(patch.Image().begin(), patch.Image().end(), file.begin());
        const std::vector<uint8_t>& bank = BankFile("Two ");
        std::copy(bank.begin() + kBankImagesSize, bank.end(), file.begin() + kPatchImageSize);
        file[kPatchImageSize + 6] = 0x60; // the single-patch file's closing message
        WriteFile(Path("patch.syx"), file);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(Path("patch.syx"))});
        const QPoint at = patches->viewport()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(patches->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(patches->viewport(), &drop);
        QTRY_COMPARE(patches->RowCount(), 4);
        QCOMPARE(patches->Text(3, VF1PatchListCtrl::kNameColumn), QStringLiteral("From A File"));
        QCOMPARE(patches->Text(3, VF1PatchListCtrl::kFromColumn), QStringLiteral("file"));

        // Unsaved banks make the main window ask before it closes.
        SelectRow(L(2), 0);
        QTest::keyClick(L(2), Qt::Key_Delete);
        messages.clear();
        answer = 2;
        window.close();
        QVERIFY(window.isVisible());
        QCOMPARE(messages,
                 std::vector<std::string>{"You have unsaved changes in your banks.  Are you sure you "
                                          "want to quit without saving them?"});
        answer = 1;
    }

    // Files named on the command line: bank files into Bank 1, then Bank 2; the rest is the
    // editor's.
    void commandLineBankFiles() {
        WriteFile(Path("one.syx"), BankFile("One "));
        WriteFile(Path("two.syx"), BankFile("Two "));
        std::vector<uint8_t> longer = BankFile("One ");
        longer.resize(130000, 0);
        WriteFile(Path("longer.syx"), longer);
        WriteFile(Path("patch.syx"), std::vector<uint8_t>(kPatchFileSize, 0xF0));
        WriteFile(Path("short.syx"), std::vector<uint8_t>(kBankFileSize - 1, 0xF0));
        const QStringList rest =
            D().TakeBankFiles({Path("patch.syx"), Path("two.syx"), Path("short.syx"), Path("one.syx"),
                               Path("missing.syx"), Path("longer.syx")});
        QCOMPARE(rest, (QStringList{Path("patch.syx"), Path("short.syx"), Path("missing.syx")}));
        QCOMPARE(Name(B(1), 0), std::string("Two 0"));
        QCOMPARE(Name(B(2), 0), std::string("One 0"));
        QCOMPARE(D().NameBox(1)->text(), QStringLiteral("two.syx"));
        QCOMPARE(D().NameBox(2)->text(), QStringLiteral("one.syx"));
        QCOMPARE(messages.size(), size_t(1));
        QVERIFY(QString::fromStdString(messages[0]).contains(QStringLiteral("longer.syx")));
    }

    void closingOnlyHides() {
        QSignalSpy closed(&D(), &VF1BankDlg::closed);
        D().close();
        QVERIFY(!D().isVisible());
        QCOMPARE(closed.count(), 1);
        D().ShowManager();
        QVERIFY(D().isVisible());
        D().HideManager();
        QCOMPARE(closed.count(), 1);
    }

    void helpNamesEveryGesture() {
        QTest::mouseClick(D().ControlById(Id::kHelp), Qt::LeftButton);
        QCOMPARE(messages,
                 std::vector<std::string>{"Instructions:\n\nSend Patch to main window for editing: "
                                          "Double-Click\n\nBank Management:\n\nMove "
                                          "w/ insertion (same bank): Drag\n\nCopy w/ insertion (other bank): "
                                          "Drag\n\nCopy w/ replacement: "
                                          "Ctrl+Drag\n\nSwap: Alt+Drag\n\nSwap: Shift+Drag\n\nDelete: Del"});
    }
};

QTEST_MAIN(BankManagerTest)
#include "BankManager_test.moc"
