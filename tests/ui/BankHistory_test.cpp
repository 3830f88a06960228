// The bank manager's undo and redo on the offscreen platform: each bank's own history of drops,
// deletes and swaps, Load as a step, and the name box back to lime at the saved state.

#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "library/BankDrop.h"
#include "library/VF1Bank.h"
#include "model/Report.h"
#include "model/VF1Patch.h"
#include "model/tables/AlgorithmInfo.h"
#include "tests/support/TestSupport.h"
#include "ui/librarian/VF1BankDlg.h"
#include "ui/librarian/VF1BankListBox.h"
#include "ui/widgets/Colours.h"

namespace {

std::vector<PatchImage> ImagesOf(const VF1Bank& bank) {
    std::vector<PatchImage> images;
    for (int i = 0; i < bank.GetCount(); ++i) images.push_back(bank.GetAt(i)->Image());
    return images;
}

void WriteBankFile(const QString& path, const std::string& prefix) {
    const std::vector<uint8_t> bytes = MakeBankFile([&prefix](int slot) {
        return FreshPatch{AlgorithmAtRow(slot % kAlgorithmCount), prefix + std::to_string(slot)};
    });
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

class BankHistoryTest : public QObject {
    Q_OBJECT

  private:
    VF1BankDlg& D() { return *dialog; }
    VF1BankListBox* L(int bank) { return D().List(bank); }
    VF1Bank& B(int bank) { return *D().Bank(bank); }
    QString Path(const char* name) { return dir->filePath(QString::fromLatin1(name)); }
    bool Lime(int bank) { return D().NameBox(bank)->palette().color(QPalette::Base) == Colours::Lime; }
    // The keys, pressed with the bank's list focused.
    void Undo(int bank) { QTest::keyClick(L(bank), Qt::Key_Z, Qt::ControlModifier); }
    void Redo(int bank, bool y = false) {
        if (y) QTest::keyClick(L(bank), Qt::Key_Y, Qt::ControlModifier);
        else QTest::keyClick(L(bank), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<VF1BankDlg> dialog;
    std::unique_ptr<MessageRecorder> messages;

  private slots:
    void init() {
        messages = std::make_unique<MessageRecorder>();
        dir = std::make_unique<QTemporaryDir>();
        dialog = std::make_unique<VF1BankDlg>();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        WriteBankFile(Path("one.syx"), "One ");
        WriteBankFile(Path("two.syx"), "Two ");
        QVERIFY(D().LoadBankFile(1, Path("one.syx")));
        QVERIFY(D().LoadBankFile(2, Path("two.syx")));
    }

    void cleanup() {
        dialog.reset();
        messages.reset();
    }

    void undoOfAnInsertFromTheOtherBankBringsB101Back() {
        const auto before = ImagesOf(B(1));
        const auto other = ImagesOf(B(2));
        QVERIFY(L(1)->DropFrom(L(2), 3, 10, DropEffect::Insert));
        const auto after = ImagesOf(B(1));
        QVERIFY(after.back() != before.back());
        QVERIFY(!Lime(1));

        Undo(1);
        QVERIFY(ImagesOf(B(1)) == before);
        QVERIFY(ImagesOf(B(2)) == other);
        // Back at the state it was loaded in.
        QVERIFY(Lime(1));
        QVERIFY(!B(1).IsModified());
        // The list shows B101 again.
        QVERIFY(L(1)->item(kPatchCount - 1)->text().contains(QStringLiteral("One 201")));
        Redo(1);
        QVERIFY(ImagesOf(B(1)) == after);
        QVERIFY(!Lime(1));
        // The other bank's history holds only its load.
        QCOMPARE(D().History().Stack(2).count(), 1);
    }

    void aSwapAcrossTheBanksIsOneStepInBoth() {
        const auto one = ImagesOf(B(1));
        const auto two = ImagesOf(B(2));
        QVERIFY(L(1)->DropFrom(L(2), 4, 7, DropEffect::Swap));
        const auto oneSwapped = ImagesOf(B(1));
        const auto twoSwapped = ImagesOf(B(2));
        QVERIFY(oneSwapped != one && twoSwapped != two);
        QCOMPARE(D().History().Stack(1).count(), 2); // the load and the swap
        QCOMPARE(D().History().Stack(2).count(), 2);

        // Undone from either bank, both come back.
        Undo(2);
        QVERIFY(ImagesOf(B(1)) == one);
        QVERIFY(ImagesOf(B(2)) == two);
        QVERIFY(Lime(1) && Lime(2));
        Redo(1, true);
        QVERIFY(ImagesOf(B(1)) == oneSwapped);
        QVERIFY(ImagesOf(B(2)) == twoSwapped);

        // A later step in one bank leaves the other's half of the swap where it is.
        QVERIFY(L(2)->DropFrom(L(2), 0, 50, DropEffect::Replace));
        Undo(1);
        QVERIFY(ImagesOf(B(1)) == one);
        QCOMPARE(D().History().Stack(2).index(), 3);
    }

    void undoOfALoadBringsTheOldBankAndItsNameBack() {
        // An edited bank, then another loaded over it.
        L(1)->SelectIndex(5);
        QVERIFY(L(1)->DeleteSelected());
        const auto edited = ImagesOf(B(1));
        QVERIFY(!Lime(1));
        QVERIFY(D().LoadBankFile(1, Path("two.syx")));
        QCOMPARE(D().NameBox(1)->text(), QStringLiteral("two.syx"));
        QVERIFY(Lime(1));

        Undo(1);
        QVERIFY(ImagesOf(B(1)) == edited);
        QCOMPARE(D().NameBox(1)->text(), QStringLiteral("one.syx"));
        QVERIFY(!Lime(1));
        QVERIFY(B(1).IsModified());
        Undo(1);
        QVERIFY(Lime(1));
        Redo(1);
        Redo(1);
        QCOMPARE(D().NameBox(1)->text(), QStringLiteral("two.syx"));
        QVERIFY(Lime(1));

        // Saved: the state it is saved in is lime, an undo from it red.
        QVERIFY(L(1)->DropFrom(L(2), 0, 9, DropEffect::Replace));
        QVERIFY(D().SaveBankFile(Path("saved.syx")));
        QVERIFY(Lime(1));
        Undo(1);
        QVERIFY(!Lime(1));
        Redo(1);
        QVERIFY(Lime(1));
    }
};

QTEST_MAIN(BankHistoryTest)
#include "BankHistory_test.moc"
