// What the owner-drawn widgets tell assistive technology, read back through Qt's accessibility
// layer as an AT-SPI client reads it, and the keyboard of the slider.

#include "ui/widgets/MokButton.h"
#include "ui/widgets/MokCheckBox.h"
#include "ui/widgets/MokSliderCtrl.h"

#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>
#include <utility>
#include <vector>

using Notification = std::pair<int, int>; // scroll code, position
using Notifications = std::vector<Notification>;
Q_DECLARE_METATYPE(Notifications)

namespace {

QAccessibleInterface* Accessible(QWidget& widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&widget);
    if (iface == nullptr) qFatal("no accessible interface");
    return iface;
}

QAccessibleActionInterface* Actions(QWidget& widget) {
    return Accessible(widget)->actionInterface();
}

// The slider's notifications as its owner hears them, once the posted ones have arrived.
Notifications Heard(MokSliderCtrl& slider, const std::function<void()>& action) {
    Notifications heard;
    const auto connection = QObject::connect(&slider, &MokSliderCtrl::scrolled,
                                             [&heard](int code, int pos) { heard.emplace_back(code, pos); });
    action();
    QCoreApplication::sendPostedEvents();
    QObject::disconnect(connection);
    return heard;
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

  private slots:
    void buttonIsAPushButtonThatClicks() {
        MokButton button(QStringLiteral("Get"));
        button.show();
        QAccessibleInterface* iface = Accessible(button);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Get"));
        QVERIFY(!iface->state().checkable);
        QVERIFY(iface->state().focusable);

        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        Actions(button)->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(clicked.wait(1000));
        QCOMPARE(clicked.count(), 1);
    }

    void checkBoxRoleAndName_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("radio");
        QTest::addColumn<QString>("accessibleName");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::newRow("check box") << "Real-time Edits" << false << "" << int(QAccessible::CheckBox)
                                   << "Real-time Edits";
        QTest::newRow("radio button") << " MIDI" << true << "" << int(QAccessible::RadioButton) << " MIDI";
        QTest::newRow("mnemonic") << "&Edit" << true << "" << int(QAccessible::RadioButton) << "Edit";
        QTest::newRow("accessible name first")
            << "On" << false << "Bypass" << int(QAccessible::CheckBox) << "Bypass";
    }

    void checkBoxRoleAndName() {
        QFETCH(QString, text);
        QFETCH(bool, radio);
        QFETCH(QString, accessibleName);
        QFETCH(int, role);
        QFETCH(QString, name);
        MokCheckBox box(text, false, false);
        box.SetRadio(radio);
        box.setAccessibleName(accessibleName);
        QCOMPARE(int(Accessible(box)->role()), role);
        QCOMPARE(Accessible(box)->text(QAccessible::Name), name);
        QVERIFY(Accessible(box)->state().checkable);
    }

    void checkBoxPressActsAsAClick() {
        MokCheckBox box(QStringLiteral("Auto-send"), false, false);
        box.resize(80, 14);
        box.show();
        // The owner reads the state on the click, as it does after a mouse click.
        std::vector<int> seen;
        connect(&box, &QAbstractButton::clicked, &box, [&] { seen.push_back(box.GetCheck()); });
        QVERIFY(!Accessible(box)->state().checked);
        QVERIFY(Actions(box)->actionNames().contains(QAccessibleActionInterface::pressAction()));

        Actions(box)->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(seen, std::vector<int>{1});
        QVERIFY(Accessible(box)->state().checked);
        Actions(box)->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(seen, (std::vector<int>{1, 0}));
        QVERIFY(!Accessible(box)->state().checked);

        // The state the owner sets is what is read back.
        box.SetCheck(1);
        QVERIFY(Accessible(box)->state().checked);

        box.setEnabled(false);
        Actions(box)->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(box.GetCheck(), 1);
        QCOMPARE(seen.size(), size_t(2));
    }

    void sliderValueInterface() {
        MokSliderCtrl slider(true);
        slider.resize(18, 72);
        slider.SetRange(-64, 63);
        slider.SetPos(5);
        QAccessibleInterface* iface = Accessible(slider);
        QCOMPARE(iface->role(), QAccessible::Slider);
        QAccessibleValueInterface* value = iface->valueInterface();
        QVERIFY(value != nullptr);
        QCOMPARE(value->currentValue().toInt(), 5);
        QCOMPARE(value->minimumValue().toInt(), -64);
        QCOMPARE(value->maximumValue().toInt(), 63);
        QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("5"));

        // Setting the value is one wheel notch: clamped, posted as thumb-position.
        QCOMPARE(Heard(slider, [&] { value->setCurrentValue(-20); }), (Notifications{{kThumbPosition, -20}}));
        QCOMPARE(slider.GetPos(), -20);
        QCOMPARE(Heard(slider, [&] { value->setCurrentValue(500); }), (Notifications{{kThumbPosition, 63}}));
        QCOMPARE(value->currentValue().toInt(), 63);
    }

    void sliderKeys_data() {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        // Range -64..63 for every row.
        QTest::newRow("up") << true << 0 << int(Qt::Key_Up) << 1;
        QTest::newRow("right") << false << 0 << int(Qt::Key_Right) << 1;
        QTest::newRow("down") << true << 0 << int(Qt::Key_Down) << -1;
        QTest::newRow("left") << false << 0 << int(Qt::Key_Left) << -1;
        QTest::newRow("page up") << true << 0 << int(Qt::Key_PageUp) << 10;
        QTest::newRow("page down") << false << 0 << int(Qt::Key_PageDown) << -10;
        QTest::newRow("home") << true << 7 << int(Qt::Key_Home) << -64;
        QTest::newRow("end") << false << 7 << int(Qt::Key_End) << 63;
        QTest::newRow("page up stops at max") << true << 60 << int(Qt::Key_PageUp) << 63;
        // At an end the step is still reported, as a wheel notch is.
        QTest::newRow("up at max") << true << 63 << int(Qt::Key_Up) << 63;
        QTest::newRow("page down at min") << false << -64 << int(Qt::Key_PageDown) << -64;
    }

    void sliderKeys() {
        QFETCH(bool, vertical);
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, expected);
        MokSliderCtrl slider(vertical);
        slider.resize(vertical ? QSize(18, 72) : QSize(72, 18));
        slider.SetRange(-64, 63);
        slider.SetPos(start);
        const Notifications heard =
            Heard(slider, [&] { QTest::keyClick(&slider, static_cast<Qt::Key>(key)); });
        QCOMPARE(heard, (Notifications{{kThumbPosition, expected}}));
        QCOMPARE(slider.GetPos(), expected);
    }

    void tabVisitsEveryWidget() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* button = new MokButton(QStringLiteral("Set"));
        auto* box = new MokCheckBox(QStringLiteral("On"), false, false);
        auto* slider = new MokSliderCtrl(false);
        slider->setMinimumSize(60, 18);
        box->setMinimumSize(60, 14);
        for (QWidget* w :
             {static_cast<QWidget*>(button), static_cast<QWidget*>(box), static_cast<QWidget*>(slider)})
            layout->addWidget(w);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        button->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(&window, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), box);
        QTest::keyClick(&window, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), slider);
        QVERIFY(Accessible(*slider)->state().focused);
        // The slider keeps the arrows; Tab leaves it.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "Accessibility_test.moc"
