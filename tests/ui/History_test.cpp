// Undo, redo and Compare in the main window on the offscreen platform, talking to the built-in
// virtual unit: every kind of step comes back byte for byte, the unit hears an undo as it heard
// the edit, steps of one control merge, and each open patch keeps its own history.

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <malloc.h>
#include <signal.h>

#include <functional>
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
#include "model/VF1MasterEffect.h"
#include "model/tables/AlgorithmInfo.h"
#include "tests/ui/VirtualUnitRig.h"
#include "ui/editor/PatchHistory.h"
#include "ui/editor/PatchSession.h"
#include "ui/editor/VF1FXButton.h"
#include "ui/editor/VF1FXControlWnd.h"
#include "ui/editor/VF1ParamControlWnd.h"
#include "ui/editor/VF1PatchListCtrl.h"
#include "ui/editor/VF1control.h"
#include "ui/editor/VF1main.h"
#include "ui/widgets/MokCheckBox.h"
#include "ui/widgets/MokSliderCtrl.h"

namespace {

// The first algorithm whose blocks satisfy test.
int FindAlgorithm(const std::function<bool(VF1Algorithm&)>& test) {
    for (const AlgorithmInfo& row : AlgorithmTable()) {
        VF1Algorithm patch(row.number);
        if (patch.GetBlockCount() > 0 && test(patch)) return row.number;
    }
    return -1;
}

int FirstBlockWhere(VF1Algorithm& patch, const std::function<bool(VF1Effect&)>& test) {
    for (int i = 0; i < patch.GetBlockCount(); ++i)
        if (test(*patch.GetBlock(i))) return i;
    return -1;
}

std::string HexOf(const PatchData& data) {
    return QByteArray(reinterpret_cast<const char*>(data.data()), int(data.size())).toHex().toStdString();
}

// The child of the crash test: opens the window keeping its session at path, edits a value,
// reports the edited patch once the session holds it, and waits to be killed.
int SessionChild(int argc, char** argv) {
    QApplication app(argc, argv);
    SetMessageHandler([](const std::string&, MessageStyle) { return 1; });
    MidiSystem devices(false);
    VF1MIDI::Instance().SetDriver(&devices);
    VF1main window;
    window.show();
    const std::string path = argv[2];
    window.KeepSession(path);
    VF1Param* param = window.Patches().GetCurrent()->GetBlock(0)->LiveParams().back();
    param->SetValue(param->GetValue() == param->GetMin() ? param->GetMax() : param->GetMin());
    const std::string edited = HexOf(PatchDataOf(*window.Patches().GetCurrent()));
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QFile file(QString::fromStdString(path));
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains("patch 1 ")) {
            std::printf("ready %s\n", edited.c_str());
            std::fflush(stdout);
            poll.stop();
        }
    });
    poll.start(20);
    return app.exec();
}

} // namespace

class HistoryTest : public QObject, VirtualUnitRig {
    Q_OBJECT

  private:
    VF1main& W() { return *window; }
    PatchHistory& H() { return window->History(); }
    VF1Algorithm& Patch() { return *W().Patches().GetCurrent(); }
    template <class T> T* C(int id) { return qobject_cast<T*>(window->ControlById(id)); }
    void Click(int id) { QTest::mouseClick(window->ControlById(id), Qt::LeftButton); }
    void ChooseAlgorithm(int number) {
        QComboBox* list = C<QComboBox>(VF1main::kAlgorithmList);
        list->setCurrentIndex(AlgorithmRow(number));
        emit list->activated(AlgorithmRow(number));
    }
    void StartRealTime() {
        Click(VF1main::kSend);
        QVERIFY(RealTimeEdits());
        QTest::qWait(10);
        log.Take();
    }
    QString Heard() {
        QTest::qWait(10);
        return log.Take();
    }
    // Selects a block on the diagram as a click on its button does.
    void SelectBlock(int block) { W().Diagram()->SelectButton(VF1FXButton::kFirstId + block); }
    // The control of the selected block's parameter whose name is name (any slider when empty).
    VF1control* Control(const QString& name = {}) {
        for (VF1control* c : W().Diagram()->GetSelectedPanel()->findChildren<VF1control*>())
            if (name.isEmpty() ? c->FocusSlider() && c->GetParam()->GetType() != TypeCode::kFxOnOff
                               : VF1control::AccessibleName(*c->GetParam()) == name)
                return c;
        return nullptr;
    }
    void Keys(VF1control* control, Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i) QTest::keyClick(control->FocusSlider(), key);
        // The slider posts what it did; the window records it once it has heard.
        QTest::qWait(5);
    }

    std::unique_ptr<VF1main> window;
    HeardLog log;
    int64_t clock = 0;

  private slots:
    void initTestCase() { RecordMessages(); }
    void cleanupTestCase() { StopRecording(); }

    void init() {
        StartUnit();
        window = std::make_unique<VF1main>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        clock = 0;
        answer = 1;
        H().SetClock([this] { return clock; });
        Unit().SetListener([this](const VirtualUnit::Received& m) { log.Add(m); });
        log.Take();
    }

    void cleanup() {
        Unit().SetListener({});
        window.reset();
        StopUnit();
        SetRealTimeEdits(false);
    }

    // Every kind of step: undo gives the bytes before it back, redo the bytes after it, and the
    // unit hears each the way it heard the edit (and ends up holding what the window shows).
    void everyStepComesBackAsTheUnitHeardIt_data() {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"slider", "block switch", "selector", "position", "control assign target",
                                 "name", "category", "randomize effect", "randomize patch", "algorithm"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void everyStepComesBackAsTheUnitHeardIt() {
        QFETCH(QString, kind);
        int block = 0;
        if (kind == "selector") {
            const int number = FindAlgorithm([](VF1Algorithm& p) {
                return FirstBlockWhere(p, [](VF1Effect& b) { return b.HasModules(); }) >= 0;
            });
            QVERIFY(number >= 0);
            ChooseAlgorithm(number);
            block = FirstBlockWhere(Patch(), [](VF1Effect& b) { return b.HasModules(); });
        } else if (kind == "position") {
            const int number =
                FindAlgorithm([](VF1Algorithm& p) { return p.GetPositionBlocks()[1] != nullptr; });
            QVERIFY(number >= 0);
            ChooseAlgorithm(number);
            block = FirstBlockWhere(Patch(), [](VF1Effect& b) { return b.GetPositionParam() != nullptr; });
        } else if (kind == "control assign target") {
            block = Patch().GetBlockCount() - 1;
        }
        StartRealTime();
        SelectBlock(block);
        const PatchData before = PatchDataOf(Patch());
        const int stepsBefore = H().Stack(0)->count();

        if (kind == "slider") {
            Keys(Control(), Qt::Key_Right);
        } else if (kind == "block switch") {
            // A click on the selected block's button switches it.
            QTest::mouseClick(W().Diagram()->GetSelectedPair()->button.get(), Qt::LeftButton);
        } else if (kind == "selector") {
            VF1Param* selector = nullptr;
            for (VF1Param* p : Patch().GetBlock(block)->LiveParams())
                if (p->IsSetSelector()) selector = p;
            QVERIFY(selector);
            VF1control* control = Control(VF1control::AccessibleName(*selector));
            QVERIFY(control);
            // Its option buttons, or its slider.
            MokCheckBox* other = nullptr;
            for (MokCheckBox* option : control->findChildren<MokCheckBox*>())
                if (option->GetCheck() == 0 && other == nullptr) other = option;
            if (other) QTest::mouseClick(other, Qt::LeftButton);
            else Keys(control, selector->GetValue() == selector->GetMax() ? Qt::Key_Home : Qt::Key_End);
            QTest::qWait(5);
        } else if (kind == "position") {
            VF1Param* position = Patch().GetBlock(block)->GetPositionParam();
            // Far enough to move the other variable-position effect too.
            Keys(Control(VF1control::AccessibleName(*position)), Qt::Key_End);
        } else if (kind == "control assign target") {
            Keys(Control(QStringLiteral("Ctl 1 Target")), Qt::Key_Right);
        } else if (kind == "name") {
            auto* name = C<QLineEdit>(VF1main::kNameBox);
            name->setFocus();
            QTest::keyClicks(name, QStringLiteral("Zz"));
            W().Diagram()->GetSelectedPair()->button->setFocus();
        } else if (kind == "category") {
            auto* list = C<QComboBox>(VF1main::kCategoryList);
            list->setCurrentIndex(list->currentIndex() + 1);
            emit list->activated(list->currentIndex());
        } else if (kind == "randomize effect") {
            SeedRandom(5);
            Click(VF1main::kRandomizeEffect);
        } else if (kind == "randomize patch") {
            SeedRandom(5);
            Click(VF1main::kRandomizePatch);
        } else if (kind == "algorithm") {
            ChooseAlgorithm(1);
        }
        const QString edit = Heard();
        const PatchData after = PatchDataOf(Patch());
        QVERIFY2(after != before, "the edit changed nothing");
        QVERIFY(!edit.isEmpty());
        QCOMPARE(H().Stack(0)->count(), stepsBefore + 1);

        W().Undo();
        QVERIFY2(PatchDataOf(Patch()) == before, "undo");
        QCOMPARE(Heard(), edit);
        QVERIFY(Unit().Patch(-1) == before);
        W().Redo();
        QVERIFY2(PatchDataOf(Patch()) == after, "redo");
        QCOMPARE(Heard(), edit);
        QVERIFY(Unit().Patch(-1) == after);
        // The diagram shows the patch it restored.
        QCOMPARE(W().Diagram()->GetPatch(), &Patch());
        QVERIFY(messages.empty());
    }

    void stepsOfOneControlMerge() {
        VF1control* first = Control();
        VF1Param* param = first->GetParam();
        const int start = param->GetValue();
        // A run of keys on one control within a second: one step.
        for (int i = 0; i < 5; ++i) {
            Keys(first, Qt::Key_Right);
            clock += 300;
        }
        QCOMPARE(H().Stack(0)->count(), 1);
        // Another control: a step of its own; the first control after a pause: another.
        VF1control* second = nullptr;
        for (VF1control* c : W().Diagram()->GetSelectedPanel()->findChildren<VF1control*>())
            if (c != first && c->FocusSlider() && c->GetParam()->GetType() != TypeCode::kFxOnOff) second = c;
        QVERIFY(second);
        Keys(second, Qt::Key_Right);
        QCOMPARE(H().Stack(0)->count(), 2);
        clock += 2000;
        Keys(second, Qt::Key_Right);
        QCOMPARE(H().Stack(0)->count(), 3);
        W().Undo();
        W().Undo();
        W().Undo();
        QCOMPARE(param->GetValue(), start);
        // A run that ends where it began leaves no step (undo rebuilt the panel: its controls are new).
        first = Control();
        QCOMPARE(first->GetParam(), param);
        Keys(first, Qt::Key_Right);
        Keys(first, Qt::Key_Left);
        H().Flush();
        QVERIFY(!H().CanUndo() || H().Stack(0)->index() == 0);
    }

    void keysAndMenuNameTheStep() {
        VF1control* control = Control();
        const QString name = VF1control::AccessibleName(*control->GetParam());
        const PatchData before = PatchDataOf(Patch());
        Keys(control, Qt::Key_Right);
        const PatchData after = PatchDataOf(Patch());
        QCOMPARE(H().UndoText(), QStringLiteral("Undo ") + name);
        QCOMPARE(H().RedoText(), QStringLiteral("Redo"));

        // The keys work wherever the focus is in the window.
        QTest::keyClick(control->FocusSlider(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(PatchDataOf(Patch()) == before);
        QTest::keyClick(&W(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(PatchDataOf(Patch()) == after);
        QTest::keyClick(&W(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&W(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(PatchDataOf(Patch()) == after);

        // The context menu offers the same, named.
        QStringList texts;
        QTimer::singleShot(50, [&texts] {
            QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            for (QAction* action : menu->actions())
                if (!action->isSeparator()) texts << action->text();
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), W().mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&W(), &event);
        QCOMPARE(texts.mid(0, 3), (QStringList{QStringLiteral("Undo ") + name, QStringLiteral("Redo"),
                                               QStringLiteral("Compare")}));

        // A name with a line break is named on one line.
        for (const AlgorithmInfo& row : AlgorithmTable()) {
            VF1Algorithm patch(row.number);
            for (int b = 0; b < patch.GetBlockCount(); ++b)
                for (VF1Param* p : patch.GetBlock(b)->LiveParams())
                    if (p->GetName().find('\n') != std::string::npos) {
                        QVERIFY(!VF1control::AccessibleName(*p).contains(u'\n'));
                        return;
                    }
        }
    }

    void eachPatchKeepsItsHistory() {
        VF1control* control = Control();
        const PatchData first = PatchDataOf(Patch());
        Keys(control, Qt::Key_Right);
        const PatchData firstEdited = PatchDataOf(Patch());
        Click(VF1main::kAddPatch);
        W().PatchListView()->SelectRow(1);
        QCOMPARE(W().Patches().GetCurrentIndex(), 1);
        QVERIFY(!H().CanUndo());
        Keys(Control(), Qt::Key_Left);
        Keys(Control(), Qt::Key_Left);
        const PatchData second = PatchDataOf(Patch());

        W().PatchListView()->SelectRow(0);
        QVERIFY(PatchDataOf(Patch()) == firstEdited);
        W().Undo();
        QVERIFY(PatchDataOf(Patch()) == first);
        QVERIFY(PatchDataOf(*W().Patches().GetAt(1)) == second);

        // Removing a patch drops its history; the other keeps its own.
        W().PatchListView()->SelectRow(1);
        QVERIFY(H().CanUndo());
        Click(VF1main::kRemovePatch);
        QCOMPARE(H().PatchCount(), 1);
        QCOMPARE(W().Patches().GetCurrentIndex(), 0);
        QVERIFY(H().CanRedo());
        W().Redo();
        QVERIFY(PatchDataOf(Patch()) == firstEdited);
    }

    void compareShowsTheStoredStateAndBack() {
        StartRealTime();
        const PatchData stored = PatchDataOf(Patch());
        QVERIFY(!H().IsEdited(0));
        Keys(Control(), Qt::Key_Right);
        const PatchData edited = PatchDataOf(Patch());
        QVERIFY(H().IsEdited(0));
        Heard();

        // C with the diagram focused; the unit hears the shown state.
        W().Diagram()->GetSelectedPair()->button->setFocus();
        QTest::keyClick(W().Diagram()->GetSelectedPair()->button.get(), Qt::Key_C);
        QVERIFY(H().IsComparing());
        QVERIFY(PatchDataOf(Patch()) == stored);
        QCOMPARE(Heard(), kPatchSend);
        QVERIFY(Unit().Patch(-1) == stored);
        W().Compare();
        QVERIFY(PatchDataOf(Patch()) == edited);
        QVERIFY(Unit().Patch(-1) == edited);

        // An edit while comparing ends the comparison on what is shown; the edited state is one
        // undo away.
        W().Compare();
        QVERIFY(H().IsComparing());
        const PatchData shown = PatchDataOf(Patch());
        Keys(Control(), Qt::Key_End);
        QVERIFY(PatchDataOf(Patch()) != shown);
        QVERIFY(!H().IsComparing());
        W().Undo();
        QVERIFY(PatchDataOf(Patch()) == stored);
        W().Undo();
        QVERIFY(PatchDataOf(Patch()) == edited);

        // Sending stores the patch: nothing left to compare.
        Click(VF1main::kSend);
        QVERIFY(!H().IsEdited(0));
    }

    // Killed after an edit, the program offers the edited patch at the next start and reopens it
    // byte for byte, after the default patch and current.
    void aKilledSessionComesBack() {
        const QString path = dir->filePath(QStringLiteral("state/quellin/session"));
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir->path());
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--session-child"), path});
        QVERIFY(child.waitForStarted());
        QByteArray line;
        while (!line.contains('\n') && child.waitForReadyRead(20000)) line += child.readAllStandardOutput();
        QVERIFY2(line.startsWith("ready "), line.constData());
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        const std::string edited = line.mid(6).trimmed().toStdString();

        messages.clear();
        W().ResumeSession(path.toStdString());
        QCOMPARE(messages.size(), size_t(1)); // the question, answered Yes
        QCOMPARE(W().Patches().GetCount(), 2);
        QCOMPARE(W().Patches().GetCurrentIndex(), 1);
        QCOMPARE(HexOf(PatchDataOf(Patch())), edited);
        // Still edited, against the patch it was opened as.
        QVERIFY(H().IsEdited(1));
        QVERIFY(H().Reference(1) == PatchDataOf(*W().Patches().GetAt(0)));

        // Written again as it is now, read back the same.
        W().KeepSession(path.toStdString());
        W().WriteSessionNow();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        Session session;
        QVERIFY(ParseSession(
            std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())), session));
        QCOMPARE(session.patches.size(), size_t(2));
        QCOMPARE(session.current, 1);
        QCOMPARE(HexOf(session.patches[1].data), edited);
        QVERIFY(session.patches[1].edited && !session.patches[0].edited);
    }

    void declinedSessionIsDiscarded() {
        const QString path = dir->filePath(QStringLiteral("session"));
        const auto bytes = SessionBytes(Session{{SessionPatch{PatchDataOf(Patch()), {}, "edit", true}}, 0});
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        file.close();
        answer = 2;
        W().ResumeSession(path.toStdString());
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(W().Patches().GetCount(), 1);
        QVERIFY(!QFile::exists(path));
    }

    void damagedSessionsAreSetAside_data() {
        QTest::addColumn<QByteArray>("bytes");
        const auto good = SessionBytes(Session{{SessionPatch{{}, {}, "file", true}}, 0});
        const QByteArray whole(reinterpret_cast<const char*>(good.data()), int(good.size()));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("other file") << QByteArray("DevID=00;InIdx=00;OutIdx=00");
        QTest::newRow("cut short") << whole.left(whole.size() - 40);
        QTest::newRow("bad hexadecimal") << QByteArray(whole).replace("data 00", "data 0G");
        QTest::newRow("more patches than it holds") << QByteArray(whole).replace("patches 1", "patches 2");
        QTest::newRow("current outside") << QByteArray(whole).replace("current 0", "current 7");
        QTest::newRow("huge count") << QByteArray(whole).replace("patches 1", "patches 99999999999");
        QTest::newRow("larger than any session") << QByteArray(int(kMaxSessionBytes) + 10, 'x');
    }

    void damagedSessionsAreSetAside() {
        QFETCH(QByteArray, bytes);
        const QString path = dir->filePath(QStringLiteral("session"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        messages.clear();
        W().ResumeSession(path.toStdString());
        QCOMPARE(W().Patches().GetCount(), 1);
        QCOMPARE(messages.size(), size_t(1));
        QVERIFY(QString::fromStdString(messages[0]).contains(QStringLiteral("set aside")));
        QVERIFY(!QFile::exists(path));
        QVERIFY(QFile::exists(path + QStringLiteral(".damaged")));
    }

    // A step keeps what it changed: a thousand of them stay far below 2 MB.
    void aThousandStepsAreSmall() {
        VF1Param* param = Control()->GetParam();
        const int low = param->GetMin();
        const size_t start = mallinfo2().uordblks;
        for (int i = 0; i < 1000; ++i) {
            clock += 2000;
            param->SetValue(low + 1 + i % 2);
            H().Flush();
        }
        const size_t used = mallinfo2().uordblks - start;
        QCOMPARE(H().Stack(0)->count(), 1000);
        qInfo("1000 steps: %zu bytes", used);
        QVERIFY2(used < 2 * 1024 * 1024, qPrintable(QString::number(used)));
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--session-child") return SessionChild(argc, argv);
    QApplication app(argc, argv);
    HistoryTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "History_test.moc"
