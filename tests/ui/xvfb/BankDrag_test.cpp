// Drags between the bank lists made with the real pointer and keyboard of an X server (Xvfb,
// driven by xdotool), so that the whole way from a button press to the bank model is covered:
// the drag's start, the cursors, the drop target's answers and the drop.

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "library/VF1Bank.h"
#include "midi/VF1MIDI.h"
#include "model/Report.h"
#include "model/tables/AlgorithmInfo.h"
#include "tests/support/TestSupport.h"
#include "ui/librarian/DragCursors.h"
#include "ui/librarian/VF1BankDlg.h"
#include "ui/librarian/VF1BankListBox.h"
#include "ui/widgets/PixelArt.h"

namespace {

// Writes a bank file whose slot i holds "<prefix><i>".
void WriteNamedBank(const QString& path, const std::string& prefix) {
    const std::vector<uint8_t> bytes = MakeBankFile([&prefix](int slot) {
        return FreshPatch{AlgorithmAtRow(slot % kAlgorithmCount), prefix + std::to_string(slot)};
    });
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string Name(const VF1Bank& bank, int slot) {
    std::string name = bank.GetAt(slot)->GetName();
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

} // namespace

class BankDragTest : public QObject {
    Q_OBJECT

  private:
    QPoint RowOnScreen(VF1BankListBox* list, int row) {
        return list->viewport()->mapToGlobal(list->visualItemRect(list->item(row)).center());
    }

    // Presses at from, moves in steps to to and releases there, holding key (if any) throughout.
    void Drag(QPoint from, QPoint to, const QString& key = {}) {
        QStringList args;
        if (!key.isEmpty()) args << QStringLiteral("keydown") << key;
        args << QStringLiteral("mousemove") << QString::number(from.x()) << QString::number(from.y())
             << QStringLiteral("sleep") << QStringLiteral("0.2") << QStringLiteral("mousedown")
             << QStringLiteral("1");
        for (int step = 1; step <= 6; ++step) {
            const QPoint at = from + (to - from) * step / 6;
            args << QStringLiteral("sleep") << QStringLiteral("0.1") << QStringLiteral("mousemove")
                 << QString::number(at.x()) << QString::number(at.y());
        }
        args << QStringLiteral("sleep") << QStringLiteral("0.3") << QStringLiteral("mouseup")
             << QStringLiteral("1");
        if (!key.isEmpty()) args << QStringLiteral("keyup") << key;
        xdotool->start(QStringLiteral("xdotool"), args);
        QVERIFY(xdotool->waitForStarted());
    }

    // The pointer's script ran to its end (waiting for it if it still runs).
    bool XdotoolDone() {
        if (xdotool->state() != QProcess::NotRunning && !xdotool->waitForFinished(5000)) return false;
        return xdotool->exitStatus() == QProcess::NormalExit && xdotool->exitCode() == 0;
    }

    // Records which of the drag cursors the pointer showed while a drag ran.
    void WatchCursors() {
        seen.clear();
        cursorWatch.start(20);
    }

    std::unique_ptr<VF1BankDlg> dialog;
    std::unique_ptr<QProcess> xdotool;
    QTimer cursorWatch;
    std::set<QString> seen;
    MessageHandler previousHandler;

  private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
        previousHandler = SetMessageHandler([](const std::string&, MessageStyle) { return 1; });
        RegisterDragCursors();
        connect(&cursorWatch, &QTimer::timeout, this, [this] {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            if (cursor == nullptr) return;
            for (const char* name : {Pictures::InsertCursor, Pictures::ReplaceCursor, Pictures::SwapCursor})
                if (cursor->pixmap().cacheKey() == Picture(QString::fromLatin1(name)).cacheKey())
                    seen.insert(QString::fromLatin1(name));
        });
    }
    void cleanupTestCase() { SetMessageHandler(previousHandler); }

    void init() {
        xdotool = std::make_unique<QProcess>();
        dialog = std::make_unique<VF1BankDlg>();
        dialog->ShowManager();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    void cleanup() {
        cursorWatch.stop();
        if (xdotool->state() != QProcess::NotRunning) xdotool->waitForFinished(5000);
        dialog.reset();
        VF1MIDI::Release();
    }

    void dragAndDropWithThePointer() {
        QTemporaryDir dir;
        WriteNamedBank(dir.filePath(QStringLiteral("one.syx")), "One ");
        WriteNamedBank(dir.filePath(QStringLiteral("two.syx")), "Two ");
        QVERIFY(dialog->LoadBankFile(1, dir.filePath(QStringLiteral("one.syx"))));
        QVERIFY(dialog->LoadBankFile(2, dir.filePath(QStringLiteral("two.syx"))));
        VF1BankListBox* one = dialog->List(1);
        VF1BankListBox* two = dialog->List(2);
        VF1Bank* bank1 = dialog->Bank(1);
        VF1Bank* bank2 = dialog->Bank(2);

        // A plain drag from bank 1 onto A3 of bank 2 inserts a copy there.
        WatchCursors();
        Drag(RowOnScreen(one, 4), RowOnScreen(two, 2));
        QTRY_COMPARE_WITH_TIMEOUT(Name(*bank2, 2), std::string("One 4"), 10000);
        QCOMPARE(Name(*bank2, 3), std::string("Two 2"));
        QCOMPARE(Name(*bank1, 4), std::string("One 4"));
        QCOMPARE(two->SelectedIndex(), 2);
        QVERIFY(XdotoolDone());
        QVERIFY(seen.count(QString::fromLatin1(Pictures::InsertCursor)));

        // With Ctrl held it copies over the row.
        WatchCursors();
        Drag(RowOnScreen(one, 6), RowOnScreen(two, 8), QStringLiteral("ctrl"));
        QTRY_COMPARE_WITH_TIMEOUT(Name(*bank2, 8), std::string("One 6"), 10000);
        QCOMPARE(Name(*bank2, 9), std::string("Two 8"));
        QVERIFY(XdotoolDone());
        QVERIFY(seen.count(QString::fromLatin1(Pictures::ReplaceCursor)));

        // With Shift held the two patches change places.
        WatchCursors();
        Drag(RowOnScreen(two, 12), RowOnScreen(one, 10), QStringLiteral("shift"));
        QTRY_COMPARE_WITH_TIMEOUT(Name(*bank1, 10), std::string("Two 11"), 10000);
        QCOMPARE(Name(*bank2, 12), std::string("One 10"));
        QVERIFY(XdotoolDone());
        QVERIFY(seen.count(QString::fromLatin1(Pictures::SwapCursor)));

        // Within one bank a plain drag moves the patch down.
        Drag(RowOnScreen(one, 1), RowOnScreen(one, 5));
        QTRY_COMPARE_WITH_TIMEOUT(Name(*bank1, 4), std::string("One 1"), 10000);
        QCOMPARE(Name(*bank1, 1), std::string("One 2"));
        QCOMPARE(one->SelectedIndex(), 4);
        QVERIFY(XdotoolDone());

        // An empty slot starts no drag: the selection follows the pointer and nothing moves.
        one->SelectIndex(20);
        QVERIFY(one->DeleteSelected());
        const std::string last = Name(*bank2, kPatchCount - 1);
        one->scrollToBottom();
        QVERIFY(!one->RowIsValid(kPatchCount - 1));
        WatchCursors();
        Drag(RowOnScreen(one, kPatchCount - 1), RowOnScreen(two, 3));
        QVERIFY(XdotoolDone());
        QTest::qWait(200);
        QCOMPARE(Name(*bank2, 3), std::string("Two 2"));
        QCOMPARE(Name(*bank2, kPatchCount - 1), last);
        QVERIFY(seen.empty());

        // Both banks changed: their name boxes are red.
        QCOMPARE(dialog->NameBox(1)->palette().color(QPalette::Base), QColor(224, 8, 42));
        QCOMPARE(dialog->NameBox(2)->palette().color(QPalette::Base), QColor(224, 8, 42));
    }
};

QTEST_MAIN(BankDragTest)
#include "BankDrag_test.moc"
