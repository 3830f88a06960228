// The window as a new user meets it: Escape doesn't throw the open patches away, Enter takes a
// received patch, a message stands over the window that asked (also right after a file dialog),
// a disabled control looks disabled, a drop-down list opens in the program's colours and no
// taller than its template allows, and the bank send's progress can be seen on the display.

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "midi/VF1MIDI.h"
#include "midi/VF1Settings.h"
#include "midi/drivers/MidiSystem.h"
#include "midi/drivers/VirtualUnitDriver.h"
#include "model/Report.h"
#include "tests/ui/VirtualUnitRig.h"
#include "tests/ui/WhenModal.h"
#include "ui/dialogs/DialogTransfers.h"
#include "ui/dialogs/VF1MIDIDlg.h"
#include "ui/dialogs/VF1MessageBox.h"
#include "ui/dialogs/VF1RcvPatchDlg.h"
#include "ui/dialogs/VF1SendBankDlg.h"
#include "ui/editor/VF1main.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/DropDownList.h"

namespace {

using Id = VF1main::ControlId;

template <class T = QWidget> T* Child(const QWidget* window, int id) {
    return window->findChild<T*>(QString::number(id));
}

// How the list of a drop-down list looks open: its height, and the colours of its background and
// its text.
struct OpenList {
    int height = 0;
    QColor background;
    QColor text;
};

OpenList Open(QComboBox* combo) {
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    OpenList seen;
    seen.height = list->window()->height();
    // The colour most of the rows show.
    const QImage image = list->viewport()->grab().toImage();
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
    seen.background = QColor::fromRgb(std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                                          return a.second < b.second;
                                      })->first);
    seen.text = list->palette().color(QPalette::Active, QPalette::Text);
    combo->hidePopup();
    return seen;
}

} // namespace

class WindowHardeningTest : public QObject, VirtualUnitRig {
    Q_OBJECT

  private slots:
    // A test may put the program's own message box in; each starts from the recorder.
    void init() {
        StartUnit();
        RecordMessages();
    }
    void cleanup() {
        StopRecording();
        StopUnit();
    }

    // Escape, wherever the focus is, leaves the window and its patches; the close box closes it.
    void escapeKeepsTheMainWindowOpen() {
        VF1main window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.AddPatch();
        QSignalSpy finished(&window, &QDialog::finished);
        for (QWidget* focus : {static_cast<QWidget*>(&window), window.ControlById(Id::kNameBox)}) {
            focus->setFocus();
            QTest::keyClick(focus, Qt::Key_Escape);
            QVERIFY(window.isVisible());
        }
        QCOMPARE(finished.count(), 0);
        QCOMPARE(window.Patches().GetCount(), 2);
        window.close();
        QVERIFY(!window.isVisible());
        QCOMPARE(finished.count(), 1);
        QVERIFY(messages.empty());
    }

    // Once a patch has arrived and Load is offered, Enter loads it.
    void enterLoadsTheReceivedPatch() {
        DialogTransfers transfers(nullptr);
        VF1MIDI& midi = VF1MIDI::Instance();
        midi.SetDialogs(&transfers);
        bool cancelWasDefault = false;
        bool loadWasDefault = false;
        WhenModal<VF1RcvPatchDlg>([&](VF1RcvPatchDlg* dialog) {
            auto* load = Child<QPushButton>(dialog, 1);
            QTRY_VERIFY_WITH_TIMEOUT(load->isEnabled(), 10000);
            loadWasDefault = load->isDefault() && load->hasFocus();
            cancelWasDefault = Child<QPushButton>(dialog, 2)->isDefault();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        const uint8_t* first = nullptr;
        const uint8_t* second = nullptr;
        QCOMPARE(midi.ReceivePatch(&first, &second, false, false, 0), kPatchReplySize);
        QVERIFY(loadWasDefault);
        QVERIFY(!cancelWasDefault);
        midi.SetDialogs(nullptr);
        QVERIFY(messages.empty());
    }

    // A message asked for while no window is active (a file dialog has just closed, and the window
    // manager has not given the focus back yet) stands over the window that was active.
    void aMessageStandsOverTheWindowThatAsked() {
        TrackActiveWindows();
        QWidget window;
        window.setGeometry(300, 200, 500, 400);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        WhenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        QFileDialog files(&window);
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.exec();
        QApplication::setActiveWindow(nullptr);
        QCOMPARE(AskingWindow(), &window);

        QWidget* parent = nullptr;
        QPoint centre;
        WhenModal<VF1MessageBox>([&](VF1MessageBox* box) {
            parent = box->parentWidget();
            centre = box->geometry().center();
            box->reject();
        });
        SetMessageHandler(ShowProgramMessage);
        ShowMessage("Unable to open the file \"x.syx\": No such file or directory", MessageStyle::Error);
        QCOMPARE(parent, &window);
        const QPoint off = centre - window.frameGeometry().center();
        QVERIFY2(std::abs(off.x()) <= 2 && std::abs(off.y()) <= 2,
                 qPrintable(QStringLiteral("box centred at %1,%2").arg(centre.x()).arg(centre.y())));
    }

    void disabledControlsLookDisabled() {
        // The message box's left button, disabled for a plain message.
        VF1MessageBox box(QStringLiteral("Done."), kMbOk);
        auto* left = Child<QPushButton>(&box, 2);
        auto* right = Child<QPushButton>(&box, 1);
        QVERIFY(!left->isEnabled());
        QVERIFY(left->palette().color(QPalette::Disabled, QPalette::ButtonText) !=
                right->palette().color(QPalette::Active, QPalette::ButtonText));

        // The main window's patch-number list, disabled while the target is the edit buffer.
        VF1main window;
        auto* number = qobject_cast<QComboBox*>(window.ControlById(Id::kPatchNumberList));
        QVERIFY(!number->isEnabled());
        const QImage disabled = number->grab().toImage();
        number->setEnabled(true);
        const QImage enabled = number->grab().toImage();
        QVERIFY(disabled != enabled);
        QCOMPARE(number->palette().color(QPalette::Disabled, QPalette::Base), Colours::Lime);
        QVERIFY(number->palette().color(QPalette::Disabled, QPalette::ButtonText) != Colours::DarkGreen);
    }

    void dropDownListsOpenInTheProgramsColoursWithinTheirHeight() {
        VF1main window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        VF1MIDIDlg settings(&window);
        settings.show();
        struct Case {
            const char* name;
            QComboBox* combo;
            int minimumItems;
        };
        const Case cases[] = {
            {"patch number", qobject_cast<QComboBox*>(window.ControlById(Id::kPatchNumberList)), 101},
            {"algorithm", qobject_cast<QComboBox*>(window.ControlById(Id::kAlgorithmList)), 37},
            {"category", qobject_cast<QComboBox*>(window.ControlById(Id::kCategoryList)), 14},
            {"device ID", Child<QComboBox>(&settings, 1019), 32},
        };
        for (const Case& c : cases) {
            const QByteArray name(c.name);
            auto* list = dynamic_cast<DropDownList*>(c.combo);
            QVERIFY2(list != nullptr, name);
            QVERIFY2(list->count() >= c.minimumItems, name);
            list->setEnabled(true);
            const OpenList open = Open(list);
            QVERIFY2(open.height <= list->ListHeight(),
                     qPrintable(QStringLiteral("%1: %2 px open, %3 allowed")
                                    .arg(c.name)
                                    .arg(open.height)
                                    .arg(list->ListHeight())));
            QVERIFY2(open.height >= list->ListHeight() / 2, name);
            QCOMPARE(open.background, Colours::Lime);
            QCOMPARE(open.text, Colours::DarkGreen);
        }
    }

    // Lime on the lime display behind it: the caption-less dialog has a dark green frame.
    void theSendBankDialogHasAFrame() {
        int counter = 40;
        bool cancel = false;
        VF1SendBankDlg dialog(counter, cancel);
        dialog.show();
        const QImage image = dialog.grab().toImage();
        const int w = image.width();
        const int h = image.height();
        for (const QPoint at : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1),
                                QPoint(w / 2, 0), QPoint(0, h / 2)})
            QCOMPARE(image.pixelColor(at), Colours::DarkGreen);
        QCOMPARE(image.pixelColor(w / 2, 2), Colours::Lime);
    }
};

QTEST_MAIN(WindowHardeningTest)
#include "WindowHardening_test.moc"
