// The message box, the MIDI settings and the transfer dialogs, driven as a user drives them. The
// transfers run through the built-in virtual unit, which answers at once (no wire pacing).

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "midi/VF1MIDI.h"
#include "midi/drivers/MidiSystem.h"
#include "midi/drivers/VirtualUnitDriver.h"
#include "model/Report.h"
#include "ui/dialogs/DialogTransfers.h"
#include "ui/dialogs/VF1MIDIDlg.h"
#include "ui/dialogs/VF1MessageBox.h"
#include "ui/dialogs/VF1SendBankDlg.h"
#include "ui/widgets/DialogUnits.h"

namespace {

template <class T = QWidget> T* Child(const QWidget* dialog, int id) {
    return dialog->findChild<T*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

QString Text(const QWidget* dialog, int id) {
    if (auto* label = Child<QLabel>(dialog, id)) return label->text();
    if (auto* edit = Child<QLineEdit>(dialog, id)) return edit->text();
    if (auto* button = Child<QPushButton>(dialog, id)) return button->text();
    return QStringLiteral("<no control %1>").arg(id);
}

void Click(const QWidget* dialog, int id) {
    QTest::mouseClick(Child<QPushButton>(dialog, id), Qt::LeftButton);
}

bool gaveUp = false;

// Steps through the modal dialog that exec() shows: step is called every 20 ms with the active
// modal dialog until it returns true. A dialog that never gets there is rejected after 15 s, so a
// fault ends the test instead of hanging it.
void OnModal(std::function<bool(QDialog&)> step) {
    auto* timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, step] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        bool finished = dialog && dialog->isVisible() && step(*dialog);
        if (!finished && clock->elapsed() > 15000) {
            gaveUp = true;
            if (dialog) dialog->reject();
            finished = true;
        }
        if (finished) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
}

QImage IconImage(QStyle::StandardPixmap icon) {
    return QApplication::style()->standardIcon(icon).pixmap(32, 32).toImage();
}

// Installs a message handler for one test and records what it is asked to show.
struct RecordedMessages {
    std::vector<std::string> texts;
    MessageHandler previous;
    RecordedMessages() {
        previous = SetMessageHandler([this](const std::string& text, MessageStyle) {
            texts.push_back(text);
            return 1;
        });
    }
    ~RecordedMessages() { SetMessageHandler(previous); }
};

// The bank send's progress dialog as the user sees it after each step; may press its Cancel.
class RecordingTransfers : public DialogTransfers {
  public:
    using DialogTransfers::DialogTransfers;
    int cancelAfterUpdates = -1;
    QStringList texts;
    bool dialogUsable = false;
    QWidget* dialogParent = nullptr;
    bool visibleAtEnd = true;
    std::vector<QWidget*> windows; // expected to be disabled during the send
    bool windowsDisabled = false;

    void BeginSendBank(const int& patchesSent, bool& cancel) override {
        DialogTransfers::BeginSendBank(patchesSent, cancel);
        VF1SendBankDlg* dialog = SendBankDialog();
        dialogUsable = dialog->isVisible() && dialog->isEnabled() && Child(dialog, 1113)->isEnabled();
        dialogParent = dialog->parentWidget();
        windowsDisabled =
            std::none_of(windows.begin(), windows.end(), [](QWidget* w) { return w->isEnabled(); });
        texts << Text(dialog, 1111);
    }
    void UpdateSendBank() override {
        DialogTransfers::UpdateSendBank();
        texts << Text(SendBankDialog(), 1111);
        if (texts.size() - 1 == cancelAfterUpdates) Click(SendBankDialog(), 1113);
    }
    void EndSendBank() override {
        visibleAtEnd = SendBankDialog()->isVisible();
        DialogTransfers::EndSendBank();
    }
};

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        system = std::make_unique<MidiSystem>(false);
        system->Virtual().SetPacing(0);
        VF1MIDI& midi = VF1MIDI::Instance();
        midi.SetDriver(system.get());
        midi.SetOutDevice(0);
        midi.SetInDevice(0);
    }
    void cleanupTestCase() {
        VF1MIDI& midi = VF1MIDI::Instance();
        midi.CloseOutput();
        midi.SetDialogs(nullptr);
        midi.SetDriver(nullptr);
        system.reset();
    }
    void init() { gaveUp = false; }
    void cleanup() {
        VF1MIDI::Instance().SetDialogs(nullptr);
        QVERIFY2(!gaveUp, "the dialog never reached the expected state");
    }

    void messageBoxGrowsWithTheText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("extra");
        QTest::newRow("69 characters, one line") << QString(69, 'x') << 0;
        QTest::newRow("70 characters, two lines") << QString(70, 'x') << 15;
        QTest::newRow("105 characters, three lines") << QString(105, 'x') << 30;
        QTest::newRow("one line break") << QStringLiteral("first\nsecond") << 0;
        QTest::newRow("34 characters, three breaks")
            << QStringLiteral("abcdefghij\nklmnopqrst\nuvwxyz012\n345") << 30;
        QTest::newRow("breaks outnumber the length") << QStringLiteral("a\nb\nc\nd\ne\nf") << 60;
    }
    void messageBoxGrowsWithTheText() {
        QFETCH(QString, text);
        QFETCH(int, extra);
        VF1MessageBox box(text, kMbOk);
        QCOMPARE(box.size(), DialogSizeToPixels(189, 46) + QSize(0, extra));
        QCOMPARE(Child(&box, 1101)->geometry(), DialogUnitsToPixels(31, 4, 128, 20).adjusted(0, 0, 0, extra));
        for (const int id : {1, 2}) QCOMPARE(Child(&box, id)->y(), DialogUnitsToPixelsY(28) + extra);
        QCOMPARE(Text(&box, 1101), text);
    }

    void messageBoxButtonsFollowTheTypeBits_data() {
        QTest::addColumn<unsigned>("type");
        QTest::addColumn<QString>("left");
        QTest::addColumn<bool>("leftEnabled");
        QTest::addColumn<QString>("right");
        QTest::newRow("plain") << 0x0u << "Cancel" << false << "OK";
        QTest::newRow("OK-Cancel") << 0x1u << "Cancel" << true << "OK";
        QTest::newRow("Yes-No") << 0x4u << "No" << true << "Yes";
        QTest::newRow("Yes-No question") << 0x24u << "No" << true << "Yes";
        QTest::newRow("Yes-No-Cancel has the OK-Cancel bit") << 0x3u << "Cancel" << true << "OK";
        QTest::newRow("warning only") << 0x30u << "Cancel" << false << "OK";
    }
    void messageBoxButtonsFollowTheTypeBits() {
        QFETCH(unsigned, type);
        QFETCH(QString, left);
        QFETCH(bool, leftEnabled);
        QFETCH(QString, right);
        VF1MessageBox box(QStringLiteral("Message"), type);
        QCOMPARE(Text(&box, 2), left);
        QCOMPARE(Child(&box, 2)->isEnabled(), leftEnabled);
        QCOMPARE(Text(&box, 1), right);
        QVERIFY(Child(&box, 1)->isEnabled());
        QCOMPARE(box.windowTitle(), QStringLiteral(" Quellin"));
    }

    void messageBoxIconFollowsSingleBits_data() {
        QTest::addColumn<unsigned>("type");
        QTest::addColumn<int>("icon");
        QTest::newRow("information") << 0x40u << int(QStyle::SP_MessageBoxInformation);
        QTest::newRow("question") << 0x20u << int(QStyle::SP_MessageBoxQuestion);
        QTest::newRow("warning has the question bit") << 0x30u << int(QStyle::SP_MessageBoxQuestion);
        QTest::newRow("stop") << 0x10u << int(QStyle::SP_MessageBoxCritical);
        QTest::newRow("no icon flag") << 0x0u << int(QStyle::SP_MessageBoxCritical);
        QTest::newRow("information wins") << 0x64u << int(QStyle::SP_MessageBoxInformation);
    }
    void messageBoxIconFollowsSingleBits() {
        QFETCH(unsigned, type);
        QFETCH(int, icon);
        // Only meaningful while the style draws the three icons differently.
        QVERIFY(IconImage(QStyle::SP_MessageBoxInformation) != IconImage(QStyle::SP_MessageBoxQuestion));
        QVERIFY(IconImage(QStyle::SP_MessageBoxQuestion) != IconImage(QStyle::SP_MessageBoxCritical));
        VF1MessageBox box(QStringLiteral("Message"), type);
        QCOMPARE(Child<QLabel>(&box, 1103)->pixmap().toImage(), IconImage(QStyle::StandardPixmap(icon)));
    }

    void messageBoxResults_data() {
        QTest::addColumn<unsigned>("type");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("result");
        QTest::newRow("Yes") << 0x24u << "right" << 1;
        QTest::newRow("No") << 0x24u << "left" << 2;
        QTest::newRow("close box on a question") << 0x24u << "close" << 2;
        QTest::newRow("Escape on a question") << 0x24u << "escape" << 2;
        QTest::newRow("OK of OK-Cancel") << 0x1u << "right" << 1;
        QTest::newRow("Cancel of OK-Cancel") << 0x1u << "left" << 2;
        QTest::newRow("Enter on a question") << 0x24u << "enter" << 2;
        QTest::newRow("Enter on a plain message") << 0x0u << "enter" << 1;
        QTest::newRow("Escape on a plain message") << 0x0u << "escape" << 2;
    }
    void messageBoxResults() {
        QFETCH(unsigned, type);
        QFETCH(QString, action);
        QFETCH(int, result);
        OnModal([action](QDialog& box) {
            if (action == "right") Click(&box, 1);
            if (action == "left") Click(&box, 2);
            if (action == "close") box.close();
            if (action == "escape") QTest::keyClick(&box, Qt::Key_Escape);
            if (action == "enter") QTest::keyClick(&box, Qt::Key_Return);
            return true;
        });
        QCOMPARE(VF1MessageBox::Run(nullptr, QStringLiteral("Are you sure?"), type), result);
    }

    void programMessagesShowTheirStyle_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("right");
        QTest::addColumn<bool>("leftEnabled");
        QTest::addColumn<int>("icon");
        QTest::newRow("error") << int(MessageStyle::Error) << "OK" << false
                               << int(QStyle::SP_MessageBoxCritical);
        QTest::newRow("info") << int(MessageStyle::Info) << "OK" << false
                              << int(QStyle::SP_MessageBoxInformation);
        QTest::newRow("warning") << int(MessageStyle::Warning) << "OK" << false
                                 << int(QStyle::SP_MessageBoxQuestion);
        QTest::newRow("question") << int(MessageStyle::Question) << "Yes" << true
                                  << int(QStyle::SP_MessageBoxQuestion);
    }
    void programMessagesShowTheirStyle() {
        QFETCH(int, style);
        QFETCH(QString, right);
        QFETCH(bool, leftEnabled);
        QFETCH(int, icon);
        QWidget window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QString shownRight;
        bool shownLeftEnabled = !leftEnabled;
        QImage shownIcon;
        QWidget* parent = nullptr;
        OnModal([&](QDialog& box) {
            shownRight = Text(&box, 1);
            shownLeftEnabled = Child(&box, 2)->isEnabled();
            shownIcon = Child<QLabel>(&box, 1103)->pixmap().toImage();
            parent = box.parentWidget();
            Click(&box, 1);
            return true;
        });
        const auto previous = SetMessageHandler(ShowProgramMessage);
        const int answer = ShowMessage("Something happened.", MessageStyle(style));
        SetMessageHandler(previous);
        QCOMPARE(answer, 1);
        QCOMPARE(shownRight, right);
        QCOMPARE(shownLeftEnabled, leftEnabled);
        QCOMPARE(shownIcon, IconImage(QStyle::StandardPixmap(icon)));
        QCOMPARE(parent, &window);
    }

    void midiDialogListsTheDevices() {
        VF1MIDIDlg dialog;
        QStringList outs, ins, ids;
        OnModal([&](QDialog& shown) {
            for (auto* list : {Child<QListWidget>(&shown, 1010), Child<QListWidget>(&shown, 1030)}) {
                QStringList& names = list == Child<QListWidget>(&shown, 1010) ? outs : ins;
                for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
            }
            const auto* combo = Child<QComboBox>(&shown, 1019);
            for (int i = 0; i < combo->count(); ++i) ids << combo->itemText(i);
            Click(&shown, 1);
            return true;
        });
        QCOMPARE(dialog.Run(VF1MIDI::Instance()), int(QDialog::Accepted));
        QCOMPARE(outs, QStringList{kVirtualDeviceName});
        QCOMPARE(ins, QStringList{kVirtualDeviceName});
        QCOMPARE(ids.size(), 32);
        QCOMPARE(ids.front(), QStringLiteral("1"));
        QCOMPARE(ids.back(), QStringLiteral("32"));
    }

    void midiDialogShowsTheKeptSelection_data() {
        QTest::addColumn<int>("outCount");
        QTest::addColumn<int>("inCount");
        QTest::addColumn<int>("index"); // out, in and device ID index alike
        QTest::addColumn<bool>("shown");
        QTest::newRow("in range") << 4 << 3 << 2 << true;
        QTest::newRow("past the end of the lists") << 2 << 1 << 3 << false;
        QTest::newRow("no devices") << 0 << 0 << 1 << false;
    }
    void midiDialogShowsTheKeptSelection() {
        QFETCH(int, outCount);
        QFETCH(int, inCount);
        QFETCH(int, index);
        QFETCH(bool, shown);
        std::vector<std::string> outs, ins;
        for (int i = 0; i < outCount; ++i) outs.push_back("Out " + std::to_string(i));
        for (int i = 0; i < inCount; ++i) ins.push_back("In " + std::to_string(i));
        VF1MIDIDlg dialog;
        dialog.SetOutIndex(index);
        dialog.SetInIndex(index);
        dialog.SetDeviceIdIndex(index);
        int outRow = -2, inRow = -2, outItems = -1, inItems = -1, idRow = -2;
        OnModal([&](QDialog& box) {
            const auto* outList = Child<QListWidget>(&box, 1010);
            const auto* inList = Child<QListWidget>(&box, 1030);
            outItems = outList->count();
            inItems = inList->count();
            outRow = outList->selectedItems().isEmpty() ? -1 : outList->row(outList->selectedItems().front());
            inRow = inList->selectedItems().isEmpty() ? -1 : inList->row(inList->selectedItems().front());
            idRow = Child<QComboBox>(&box, 1019)->currentIndex();
            Click(&box, 1);
            return true;
        });
        dialog.Run(outs, ins);
        QCOMPARE(outItems, outCount);
        QCOMPARE(inItems, inCount);
        QCOMPARE(outRow, shown ? index : -1);
        QCOMPARE(inRow, shown ? index : -1);
        QCOMPARE(idRow, index);
        QCOMPARE(dialog.OutIndex(), index);
        QCOMPARE(dialog.InIndex(), index);
        QCOMPARE(dialog.DeviceIdIndex(), index);
    }

    void midiDialogKeepsTheUsersChoiceBetweenRuns() {
        const std::vector<std::string> outs{"Out A", "Out B", "Out C"};
        const std::vector<std::string> ins{"In A", "In B", "In C"};
        VF1MIDIDlg dialog;
        OnModal([](QDialog& box) {
            auto* outList = Child<QListWidget>(&box, 1010);
            auto* inList = Child<QListWidget>(&box, 1030);
            QTest::mouseClick(outList->viewport(), Qt::LeftButton, {},
                              outList->visualItemRect(outList->item(2)).center());
            QTest::mouseClick(inList->viewport(), Qt::LeftButton, {},
                              inList->visualItemRect(inList->item(1)).center());
            auto* combo = Child<QComboBox>(&box, 1019);
            combo->setFocus();
            for (int i = 0; i < 3; ++i) QTest::keyClick(combo, Qt::Key_Down);
            // Closed without OK: the choices hold all the same.
            QTest::keyClick(&box, Qt::Key_Escape);
            return true;
        });
        dialog.Run(outs, ins);
        QCOMPARE(dialog.OutIndex(), 2);
        QCOMPARE(dialog.InIndex(), 1);
        QCOMPARE(dialog.DeviceIdIndex(), 3);

        int outRow = -1, inRow = -1, idRow = -1;
        OnModal([&](QDialog& box) {
            outRow = Child<QListWidget>(&box, 1010)->currentRow();
            inRow = Child<QListWidget>(&box, 1030)->currentRow();
            idRow = Child<QComboBox>(&box, 1019)->currentIndex();
            Click(&box, 1);
            return true;
        });
        dialog.Run(outs, ins);
        QCOMPARE(outRow, 2);
        QCOMPARE(inRow, 1);
        QCOMPARE(idRow, 3);
    }

    // Request, count, Load: the patch the unit holds comes back through the dialog.
    void receivePatchThroughTheDialog_data() {
        QTest::addColumn<bool>("load");
        QTest::newRow("Load") << true;
        QTest::newRow("Cancel") << false;
    }
    void receivePatchThroughTheDialog() {
        QFETCH(bool, load);
        VF1MIDI& midi = VF1MIDI::Instance();
        PatchData held{};
        for (size_t i = 0; i < held.size(); ++i) held[i] = static_cast<uint8_t>((i * 7) & 0x0F);
        system->Virtual().Unit().SetPatch(-1, held);
        DialogTransfers transfers;
        midi.SetDialogs(&transfers);

        QString title, boxAtStart = "?", boxAtLoad;
        bool loadAtStart = true;
        int phase = 0;
        OnModal([&](QDialog& dialog) {
            if (phase == 0) {
                title = dialog.windowTitle();
                loadAtStart = Child(&dialog, 1)->isEnabled();
                boxAtStart = Text(&dialog, 1033);
                phase = 1;
                if (!load) Click(&dialog, 2);
                return !load;
            }
            if (!Child(&dialog, 1)->isEnabled()) return false;
            boxAtLoad = Text(&dialog, 1033);
            Click(&dialog, 1);
            return true;
        });
        RecordedMessages messages;
        const uint8_t* first = nullptr;
        const uint8_t* second = nullptr;
        const int result = midi.ReceivePatch(&first, &second, false, false, 0);

        QCOMPARE(title, QStringLiteral(" Requesting Patch"));
        QVERIFY(!loadAtStart);
        QCOMPARE(boxAtStart, QString());
        QVERIFY(messages.texts.empty());
        if (!load) {
            QCOMPARE(result, -1);
            return;
        }
        QCOMPARE(result, 410);
        QCOMPARE(boxAtLoad, QStringLiteral("410"));
        QVERIFY(std::equal(held.begin(), held.begin() + kHeaderHalfSize, first));
        QVERIFY(std::equal(held.begin() + kHeaderHalfSize, held.end(), second));
    }

    // The request cannot go out: its message is shown, Load stays off while nothing comes, and a
    // patch sent by hand from the unit is still taken.
    void receivePatchWaitsForAPatchSentByHand() {
        VF1MIDI& midi = VF1MIDI::Instance();
        DialogTransfers transfers;
        midi.SetDialogs(&transfers);
        midi.SetOutDevice(7);
        RecordedMessages messages;
        QElapsedTimer clock;
        clock.start();
        bool loadWhileWaiting = true;
        QString boxWhileWaiting;
        int phase = 0;
        OnModal([&](QDialog& dialog) {
            if (phase == 0) {
                // Two ticks after the failed request.
                if (messages.texts.empty() || clock.elapsed() < 1200) return false;
                loadWhileWaiting = Child(&dialog, 1)->isEnabled();
                boxWhileWaiting = Text(&dialog, 1033);
                system->Virtual().Unit().SendPatchByHand(-1);
                phase = 1;
                return false;
            }
            if (!Child(&dialog, 1)->isEnabled()) return false;
            Click(&dialog, 1);
            return true;
        });
        const uint8_t* first = nullptr;
        const uint8_t* second = nullptr;
        const int result = midi.ReceivePatch(&first, &second, false, false, 0);
        midi.SetOutDevice(0);

        QCOMPARE(messages.texts.size(), size_t(1));
        QVERIFY(
            QString::fromStdString(messages.texts.front()).startsWith("Error opening MIDI output device"));
        QVERIFY(!loadWhileWaiting);
        QCOMPARE(boxWhileWaiting, QStringLiteral("0"));
        QCOMPARE(result, 410);
    }

    // The unit's dump: Load once the expected count has come, and the count keeps following
    // bytes that come after it.
    void receiveBankThroughTheDialog() {
        VF1MIDI& midi = VF1MIDI::Instance();
        DialogTransfers transfers;
        midi.SetDialogs(&transfers);
        QString title, expecting, expected, boxAtLoad, boxLater;
        bool loadAtStart = true, loadLater = false;
        int phase = 0;
        OnModal([&](QDialog& dialog) {
            if (phase == 0) {
                title = dialog.windowTitle();
                expecting = Text(&dialog, 1108);
                expected = Text(&dialog, 1109);
                loadAtStart = Child(&dialog, 1)->isEnabled();
                phase = 1;
                return false;
            }
            if (phase == 1) {
                if (!Child(&dialog, 1)->isEnabled()) return false;
                boxAtLoad = Text(&dialog, 1033);
                system->Virtual().Unit().SendPatchByHand(-1);
                phase = 2;
                return false;
            }
            if (Text(&dialog, 1033) == boxAtLoad) return false;
            boxLater = Text(&dialog, 1033);
            loadLater = Child(&dialog, 1)->isEnabled();
            Click(&dialog, 1);
            return true;
        });
        std::vector<uint8_t> buffer(kBankReceiveCapacity);
        const int result = midi.ReceiveBank(buffer.data(), kBankReceiveCapacity);

        QCOMPARE(title, QStringLiteral(" Receiving Patch Bank"));
        QCOMPARE(expecting + expected, QStringLiteral("(Expecting: > 118170)"));
        QVERIFY(!loadAtStart);
        QCOMPARE(boxAtLoad, QStringLiteral("118183"));
        QCOMPARE(boxLater, QStringLiteral("118593"));
        QVERIFY(loadLater);
        QCOMPARE(result, 118593);
        const std::vector<uint8_t> held = system->Virtual().Unit().BankFile();
        QVERIFY(std::equal(held.begin(), held.end(), buffer.begin()));
    }

    void sendBankShowsProgressAndCancels_data() {
        QTest::addColumn<int>("cancelAfter");
        QTest::addColumn<QStringList>("texts");
        QStringList all{"0 / 202"};
        for (int n = 20; n <= 200; n += 20) all << QString("%1 / 202").arg(n);
        all << "202 / 202";
        QTest::newRow("whole bank") << -1 << all;
        QTest::newRow("cancelled after 40") << 2 << QStringList{"0 / 202", "20 / 202", "40 / 202"};
    }
    void sendBankShowsProgressAndCancels() {
        QFETCH(int, cancelAfter);
        QFETCH(QStringList, texts);
        VF1MIDI& midi = VF1MIDI::Instance();
        QWidget mainWindow;
        QWidget bankManager;
        mainWindow.show();
        bankManager.show();
        bankManager.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&bankManager));
        RecordingTransfers transfers(&mainWindow);
        transfers.cancelAfterUpdates = cancelAfter;
        transfers.windows = {&mainWindow, &bankManager};
        midi.SetDialogs(&transfers);

        const std::vector<uint8_t> bank = system->Virtual().Unit().BankFile();
        QVERIFY(midi.SendBank(bank.data()));

        QCOMPARE(transfers.texts, texts);
        QVERIFY(transfers.dialogUsable);
        QCOMPARE(transfers.dialogParent, &bankManager);
        QVERIFY(transfers.windowsDisabled);
        QCOMPARE(transfers.visibleAtEnd, cancelAfter < 0);
        QVERIFY(mainWindow.isEnabled());
        QVERIFY(bankManager.isEnabled());
        QVERIFY(!transfers.SendBankDialog());
    }

  private:
    std::unique_ptr<MidiSystem> system;
};

QTEST_MAIN(DialogsTest)
#include "Dialogs_test.moc"
