// The owner-drawn widgets and the picture renderer, driven with real events on the offscreen
// platform: what the user sees (grabbed pixels) and what reaches the owner (signals, in order).

#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/MokButton.h"
#include "ui/widgets/MokCheckBox.h"
#include "ui/widgets/MokSliderCtrl.h"
#include "ui/widgets/PixelArt.h"

#include <QApplication>
#include <QFocusEvent>
#include <QImage>
#include <QSet>
#include <QWheelEvent>
#include <QtTest>

#include <memory>
#include <utility>
#include <vector>

using Notification = std::pair<int, int>; // scroll code, position
using Notifications = std::vector<Notification>;
Q_DECLARE_METATYPE(Notifications)

namespace {

// What the slider's owner hears: the notifications delivered so far.
struct Owner {
    explicit Owner(MokSliderCtrl& slider) {
        QObject::connect(&slider, &MokSliderCtrl::scrolled,
                         [this](int code, int pos) { heard.emplace_back(code, pos); });
    }
    // Lets the posted notifications arrive and hands them over.
    Notifications Deliver() {
        QCoreApplication::sendPostedEvents();
        return std::exchange(heard, {});
    }
    Notifications heard;
};

const QColor kBar(0, 0, 200);
const QColor kBack(230, 230, 230);
const QColor kFrame(10, 10, 10);

// A 130 px slider (128 px inside the frame) with one bar colour, so pixels tell bar from back.
std::unique_ptr<MokSliderCtrl> MakeSlider(bool vertical, int a, int b, int pos) {
    auto slider = std::make_unique<MokSliderCtrl>(vertical);
    slider->resize(vertical ? QSize(20, 130) : QSize(130, 20));
    slider->SetColours(kBar, kBar, kBack, kFrame);
    slider->SetRange(a, b);
    slider->SetPos(pos);
    return slider;
}

QColor PixelAt(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

QImage Grab(QWidget& widget) {
    return widget.grab().toImage();
}

void SendWheel(QWidget& widget, int delta) {
    const QPointF at(5, 5);
    QWheelEvent wheel(at, widget.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &wheel);
}

// Top row holding a pixel close to white: where the button's text begins.
int FirstWhiteRow(const QImage& image) {
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            if (qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) > 200) return y;
    return -1;
}

} // namespace

class WidgetsTest : public QObject {
    Q_OBJECT
  private slots:
    void sliderRange_data();
    void sliderRange();
    void sliderValueFromPoint_data();
    void sliderValueFromPoint();
    void sliderBar_data();
    void sliderBar();
    void sliderBarColour_data();
    void sliderBarColour();
    void sliderResets_data();
    void sliderResets();
    void sliderDragLeavingTheSlider();
    void sliderWheel_data();
    void sliderWheel();
    void sliderFocusColour_data();
    void sliderFocusColour();
    void sliderOneValueRange();

    void checkBoxLayout_data();
    void checkBoxLayout();
    void checkBoxTogglesOnPress_data();
    void checkBoxTogglesOnPress();
    void checkBoxPressCancelled();
    void checkBoxWordWrap_data();
    void checkBoxWordWrap();
    void checkBoxColours();

    void buttonDrawing();
    void buttonDoubleClick();

    void pictures_data();
    void pictures();
    void pixelText();
    void canvas();
};

void WidgetsTest::sliderRange_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("pos");
    QTest::addColumn<bool>("bipolar");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("clamped");
    QTest::newRow("-64..63 is bipolar") << -64 << 63 << 5 << true << -64 << 63 << 5;
    QTest::newRow("63..-64 in that order is not") << 63 << -64 << 5 << false << -64 << 63 << 5;
    QTest::newRow("0..127 is not") << 0 << 127 << 5 << false << 0 << 127 << 5;
    QTest::newRow("negative only is not") << -10 << -1 << 5 << false << -10 << -1 << -1;
    QTest::newRow("pos clamped to a new max") << 0 << 3 << 5 << false << 0 << 3 << 3;
}

void WidgetsTest::sliderRange() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, pos);
    MokSliderCtrl slider(false);
    slider.SetRange(-100, 100);
    slider.SetPos(pos);
    slider.SetRange(a, b);
    QTEST(slider.IsBipolar(), "bipolar");
    QTEST(slider.Min(), "min");
    QTEST(slider.Max(), "max");
    QTEST(slider.GetPos(), "clamped");
    slider.SetPos(1000);
    QTEST(slider.GetPos(), "max");
    slider.SetPos(-1000);
    QTEST(slider.GetPos(), "min");
}

void WidgetsTest::sliderValueFromPoint_data() {
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("expected");
    // Sliders are 130 px long: 0 and 129 are the two ends.
    QTest::newRow("0..127 far right") << false << 0 << 127 << QPoint(129, 10) << 127;
    QTest::newRow("0..127 far left") << false << 0 << 127 << QPoint(0, 10) << 0;
    QTest::newRow("0..127 middle") << false << 0 << 127 << QPoint(64, 10) << 63;
    QTest::newRow("0..127 vertical top") << true << 0 << 127 << QPoint(10, 0) << 127;
    QTest::newRow("0..127 vertical bottom") << true << 0 << 127 << QPoint(10, 129) << 0;
    QTest::newRow("bipolar far right") << false << -64 << 63 << QPoint(129, 10) << 63;
    QTest::newRow("bipolar far left") << false << -64 << 63 << QPoint(0, 10) << -64;
    QTest::newRow("bipolar middle") << false << -64 << 63 << QPoint(64, 10) << 0;
    QTest::newRow("bipolar vertical top") << true << -64 << 63 << QPoint(10, 0) << 63;
    QTest::newRow("bipolar vertical bottom") << true << -64 << 63 << QPoint(10, 129) << -64;
    QTest::newRow("63..-64 far left") << false << 63 << -64 << QPoint(0, 10) << -64;
    QTest::newRow("63..-64 far right") << false << 63 << -64 << QPoint(129, 10) << 63;
}

void WidgetsTest::sliderValueFromPoint() {
    QFETCH(bool, vertical);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(QPoint, point);
    QFETCH(int, expected);
    const auto slider = MakeSlider(vertical, a, b, 10);
    Owner owner(*slider);

    QTest::mouseClick(slider.get(), Qt::LeftButton, Qt::NoModifier, point);
    QCOMPARE(slider->GetPos(), expected);
    QVERIFY2(owner.heard.empty(), "notifications are posted, not sent inside the event");
    QCOMPARE(owner.Deliver(), (Notifications{{kThumbPosition, expected}, {kEndScroll, expected}}));

    // A click where the value already is changes nothing and says nothing but the release.
    QTest::mouseClick(slider.get(), Qt::LeftButton, Qt::NoModifier, point);
    QCOMPARE(owner.Deliver(), (Notifications{{kEndScroll, expected}}));
}

void WidgetsTest::sliderBar_data() {
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QRect>("bar");
    // The area inside the frame is x 1..128 (horizontal) or y 1..128 (vertical).
    QTest::newRow("unipolar at min: no bar") << false << 0 << 127 << 0 << QRect(1, 1, 0, 18);
    QTest::newRow("unipolar at max: full") << false << 0 << 127 << 127 << QRect(1, 1, 128, 18);
    QTest::newRow("unipolar halfway") << false << 0 << 100 << 50 << QRect(1, 1, 64, 18);
    QTest::newRow("bipolar at 0: one pixel") << false << -64 << 63 << 0 << QRect(64, 1, 1, 18);
    QTest::newRow("bipolar at max") << false << -64 << 63 << 63 << QRect(64, 1, 65, 18);
    QTest::newRow("bipolar at min") << false << -64 << 63 << -64 << QRect(1, 1, 63, 18);
    QTest::newRow("vertical unipolar at max") << true << 0 << 127 << 127 << QRect(1, 1, 18, 128);
    QTest::newRow("vertical unipolar halfway") << true << 0 << 100 << 50 << QRect(1, 65, 18, 64);
    QTest::newRow("vertical bipolar at 0: one pixel") << true << -64 << 63 << 0 << QRect(1, 63, 18, 1);
    QTest::newRow("vertical bipolar at max") << true << -64 << 63 << 63 << QRect(1, 1, 18, 62);
    QTest::newRow("vertical bipolar at min") << true << -64 << 63 << -64 << QRect(1, 63, 18, 66);
}

void WidgetsTest::sliderBar() {
    QFETCH(bool, vertical);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, pos);
    QFETCH(QRect, bar);
    const auto slider = MakeSlider(vertical, a, b, pos);
    QCOMPARE(slider->BarRect(), bar);

    // Every pixel inside the frame is bar or back, exactly as the rectangle says; the frame is intact.
    const QImage image = Grab(*slider);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool frame = x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
            const QColor expected = frame ? kFrame : bar.contains(x, y) ? kBar : kBack;
            if (PixelAt(image, x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(PixelAt(image, x, y).name(), expected.name())));
        }
}

void WidgetsTest::sliderBarColour_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QColor>("colour");
    // From (0, 0, 0) to (200, 101, 50): channels move with the fraction, cut toward zero.
    QTest::newRow("halfway") << 0 << 100 << 50 << QColor(100, 50, 25);
    QTest::newRow("at max") << 0 << 100 << 100 << QColor(200, 101, 50);
    QTest::newRow("one step") << 0 << 100 << 1 << QColor(2, 1, 0);
    QTest::newRow("bipolar: distance from zero, negative side") << -64 << 63 << -32 << QColor(100, 50, 25);
    QTest::newRow("bipolar at max") << -64 << 63 << 63 << QColor(200, 101, 50);
    QTest::newRow("bipolar at 0: the min colour") << -64 << 63 << 0 << QColor(0, 0, 0);
}

void WidgetsTest::sliderBarColour() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, pos);
    QFETCH(QColor, colour);
    const auto slider = MakeSlider(false, a, b, pos);
    slider->SetColours(QColor(0, 0, 0), QColor(200, 101, 50), QColor(), QColor());
    QCOMPARE(slider->BarColour(), colour);
    const QRect bar = slider->BarRect();
    QCOMPARE(PixelAt(Grab(*slider), bar.left(), bar.center().y()), colour);
}

void WidgetsTest::sliderResets_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expected");
    QTest::addColumn<Notifications>("heard");
    const int left = Qt::LeftButton;
    const int right = Qt::RightButton;
    const int ctrl = Qt::ControlModifier;
    const int none = Qt::NoModifier;
    // All clicks at the far right end, starting from 20.
    QTest::newRow("bipolar ctrl-click resets")
        << -64 << 63 << left << ctrl << 0 << Notifications{{kThumbPosition, 0}, {kEndScroll, 0}};
    QTest::newRow("bipolar right-click resets")
        << -64 << 63 << right << none << 0 << Notifications{{kThumbPosition, 0}};
    QTest::newRow("unipolar right-click does nothing") << 0 << 127 << right << none << 20 << Notifications{};
    QTest::newRow("unipolar ctrl-click sets from the point")
        << 0 << 127 << left << ctrl << 127 << Notifications{{kThumbPosition, 127}, {kEndScroll, 127}};
    QTest::newRow("63..-64 right-click does nothing") << 63 << -64 << right << none << 20 << Notifications{};
}

void WidgetsTest::sliderResets() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(int, expected);
    const auto slider = MakeSlider(false, a, b, 20);
    Owner owner(*slider);
    QTest::mouseClick(slider.get(), Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers),
                      QPoint(129, 10));
    QCOMPARE(slider->GetPos(), expected);
    QVERIFY(owner.heard.empty());
    QTEST(owner.Deliver(), "heard");

    // A reset at 0 still reports.
    if (slider->IsBipolar()) {
        QTest::mouseClick(slider.get(), Qt::RightButton, Qt::NoModifier, QPoint(5, 10));
        QCOMPARE(owner.Deliver(), (Notifications{{kThumbPosition, 0}}));
    }
}

void WidgetsTest::sliderDragLeavingTheSlider() {
    const auto slider = MakeSlider(false, 0, 127, 0);
    Owner owner(*slider);
    QTest::mousePress(slider.get(), Qt::LeftButton, Qt::NoModifier, QPoint(64, 10));
    QTest::mouseMove(slider.get(), QPoint(400, 10)); // beyond the right end
    QTest::mouseMove(slider.get(), QPoint(-50, 10)); // beyond the left end
    QMouseEvent ctrlMove(QEvent::MouseMove, QPointF(64, 10), slider->mapToGlobal(QPointF(64, 10)),
                         Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(slider.get(), &ctrlMove); // Ctrl held: the value stays
    QCOMPARE(slider->GetPos(), 0);
    QTest::mouseRelease(slider.get(), Qt::LeftButton, Qt::NoModifier, QPoint(-50, 10));
    QCOMPARE(owner.Deliver(),
             (Notifications{{kThumbPosition, 63}, {kThumbTrack, 127}, {kThumbTrack, 0}, {kEndScroll, 0}}));

    // Moving with no button pressed tracks nothing.
    QTest::mouseMove(slider.get(), QPoint(100, 10));
    QCOMPARE(slider->GetPos(), 0);
    QVERIFY(owner.Deliver().empty());
}

void WidgetsTest::sliderWheel_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("expected");
    QTest::newRow("toward the user raises") << 10 << -120 << 11;
    QTest::newRow("away lowers") << 10 << 120 << 9;
    QTest::newRow("past max keeps max") << 127 << -120 << 127;
    QTest::newRow("past min keeps min") << 0 << 120 << 0;
    QTest::newRow("a fine step counts as a step") << 10 << -15 << 11;
}

void WidgetsTest::sliderWheel() {
    QFETCH(int, start);
    QFETCH(int, delta);
    QFETCH(int, expected);
    const auto slider = MakeSlider(false, 0, 127, start);
    Owner owner(*slider);
    SendWheel(*slider, delta);
    QCOMPARE(slider->GetPos(), expected);
    QVERIFY(owner.heard.empty());
    QCOMPARE(owner.Deliver(), (Notifications{{kThumbPosition, expected}}));
}

void WidgetsTest::sliderFocusColour_data() {
    QTest::addColumn<QColor>("back");
    QTest::addColumn<QColor>("focusBack");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("default back") << QColor() << QColor() << QColor(207, 207, 207);
    QTest::newRow("light channels become 255") << QColor(240, 10, 239) << QColor() << QColor(255, 25, 254);
    QTest::newRow("given focus colour") << QColor(100, 100, 100) << QColor(1, 2, 3) << QColor(1, 2, 3);
}

void WidgetsTest::sliderFocusColour() {
    QFETCH(QColor, back);
    QFETCH(QColor, focusBack);
    QFETCH(QColor, expected);
    MokSliderCtrl slider(false);
    slider.resize(50, 10);
    if (back.isValid() || focusBack.isValid())
        slider.SetColours(QColor(), QColor(), back, QColor(), focusBack);
    QCOMPARE(slider.FocusBackColour(), expected);

    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(&slider, &in);
    QCOMPARE(PixelAt(Grab(slider), 40, 5), expected);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&slider, &out);
    QVERIFY(PixelAt(Grab(slider), 40, 5) != expected);
}

void WidgetsTest::sliderOneValueRange() {
    // A range of one value has nothing to divide by: no bar, clicks keep the value.
    const auto slider = MakeSlider(false, 5, 5, 5);
    QCOMPARE(slider->BarRect().width(), 0);
    QTest::mouseClick(slider.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 10));
    QCOMPARE(slider->GetPos(), 5);
    const auto tiny = MakeSlider(true, 0, 10, 3);
    tiny->resize(1, 1);
    QTest::mouseClick(tiny.get(), Qt::LeftButton, Qt::NoModifier, QPoint(0, 0));
    QVERIFY(tiny->GetPos() >= 0 && tiny->GetPos() <= 10);
}

void WidgetsTest::checkBoxLayout_data() {
    QTest::addColumn<bool>("textOnLeft");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QRect>("text");
    QTest::addColumn<int>("align");
    QTest::newRow("text on the right")
        << false << QRect(0, 1, 12, 12) << QRect(16, 0, 84, 20) << int(Qt::AlignLeft);
    QTest::newRow("text on the left")
        << true << QRect(88, 1, 12, 12) << QRect(0, 0, 84, 20) << int(Qt::AlignRight);
}

void WidgetsTest::checkBoxLayout() {
    QFETCH(bool, textOnLeft);
    QFETCH(QRect, box);
    QFETCH(QRect, text);
    QFETCH(int, align);
    QWidget window;
    window.setAutoFillBackground(true);
    window.setPalette(QPalette(Qt::white));
    MokCheckBox check(QStringLiteral("Edit"), textOnLeft, false, &window);
    check.setGeometry(0, 0, 100, 20);
    check.SetColours(QColor(0, 160, 0), QColor(), QColor(), QColor());
    QCOMPARE(check.BoxRect(), box);
    QCOMPARE(check.TextRect(), text);
    QCOMPARE(int(check.TextAlignment()), align);

    const QImage image = Grab(check);
    QCOMPARE(PixelAt(image, box.left(), box.top()), QColor(32, 32, 32)); // the mark's frame
    QCOMPARE(PixelAt(image, box.right(), box.bottom()), QColor(32, 32, 32));
    QCOMPARE(PixelAt(image, box.left() + 1, box.top() + 1), QColor(220, 220, 220));
    QVERIFY(PixelAt(image, box.left(), 0) != QColor(32, 32, 32)); // 1 px below the top
    // The text sits against its aligned edge: its background starts (or ends) there.
    const int edge = textOnLeft ? text.right() : text.left();
    const int farEdge = textOnLeft ? text.left() : text.right();
    QCOMPARE(PixelAt(image, edge, 0), QColor(0, 160, 0));
    QVERIFY(PixelAt(image, farEdge, 0) != QColor(0, 160, 0));
}

void WidgetsTest::checkBoxTogglesOnPress_data() {
    QTest::addColumn<bool>("keyboard");
    QTest::newRow("mouse") << false;
    QTest::newRow("space key") << true;
}

void WidgetsTest::checkBoxTogglesOnPress() {
    QFETCH(bool, keyboard);
    MokCheckBox check(QStringLiteral("Auto-send"), false, false);
    check.resize(100, 20);
    check.SetColours(QColor(), QColor(255, 0, 0), QColor(0, 0, 255), QColor());
    std::vector<int> readOnClick;
    QObject::connect(&check, &MokCheckBox::clicked, [&] { readOnClick.push_back(check.GetCheck()); });
    const auto press = [&] {
        if (keyboard) QTest::keyPress(&check, Qt::Key_Space);
        else QTest::mousePress(&check, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    };
    const auto release = [&] {
        if (keyboard) QTest::keyRelease(&check, Qt::Key_Space);
        else QTest::mouseRelease(&check, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    };

    press();
    QCOMPARE(check.GetCheck(), 1); // toggled before the release
    QVERIFY(readOnClick.empty());
    QCOMPARE(PixelAt(Grab(check), 5, 5), QColor(0, 0, 255));
    release();
    QCOMPARE(readOnClick, std::vector<int>{1});

    press();
    QCOMPARE(check.GetCheck(), 0);
    release();
    QCOMPARE(readOnClick, (std::vector<int>{1, 0}));
    QCOMPARE(PixelAt(Grab(check), 5, 5), QColor(255, 0, 0));

    // A state other than 0 or 1 toggles to 1.
    check.SetCheck(2);
    press();
    release();
    QCOMPARE(check.GetCheck(), 1);
}

void WidgetsTest::checkBoxPressCancelled() {
    // A press dragged off the box ends without a click; the mark returns to what the owner knows.
    MokCheckBox check(QStringLiteral("Real-time Edits"), false, false);
    check.resize(100, 20);
    int clicks = 0;
    QObject::connect(&check, &MokCheckBox::clicked, [&] { ++clicks; });
    QTest::mousePress(&check, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(check.GetCheck(), 1);
    QTest::mouseMove(&check, QPoint(300, 5));
    QTest::mouseRelease(&check, Qt::LeftButton, Qt::NoModifier, QPoint(300, 5));
    QCOMPARE(clicks, 0);
    QCOMPARE(check.GetCheck(), 0);

    // Dragged off and back again it is an ordinary click.
    QTest::mousePress(&check, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseMove(&check, QPoint(300, 5));
    QTest::mouseMove(&check, QPoint(6, 5));
    QTest::mouseRelease(&check, Qt::LeftButton, Qt::NoModifier, QPoint(6, 5));
    QCOMPARE(clicks, 1);
    QCOMPARE(check.GetCheck(), 1);
}

void WidgetsTest::checkBoxWordWrap_data() {
    QTest::addColumn<bool>("multiLine");
    QTest::newRow("one line") << false;
    QTest::newRow("word-wrapped") << true;
}

void WidgetsTest::checkBoxWordWrap() {
    QFETCH(bool, multiLine);
    MokCheckBox check(QStringLiteral("Auto-send Patch on change / selection"), false, multiLine);
    check.resize(122, 40);
    check.SetColours(QColor(0, 160, 0), QColor(), QColor(), QColor());
    // The text's background covers the lines drawn: a second line only when wrapping.
    const int lineSpacing = QFontMetrics(NamedFont("Arial", 7.5)).lineSpacing();
    const QImage image = Grab(check);
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 16; x < image.width(); ++x)
            if (PixelAt(image, x, y) == QColor(0, 160, 0)) {
                ++rows;
                break;
            }
    QCOMPARE(rows >= 2 * lineSpacing, multiLine);
    QVERIFY(rows > 0);
}

void WidgetsTest::checkBoxColours() {
    MokCheckBox check(QStringLiteral("A:"), false, false);
    QCOMPARE(check.UncheckedColour(), QColor(220, 220, 220));
    QCOMPARE(check.CheckedColour(), QColor(64, 64, 220));
    // Invalid colours keep theirs, as the window's red-and-green set relies on.
    check.SetColours(QColor(224, 8, 42), QColor(224, 8, 42), QColor(), QColor());
    QCOMPARE(check.UncheckedColour(), QColor(224, 8, 42));
    QCOMPARE(check.CheckedColour(), QColor(64, 64, 220));
    check.SetColours(QColor(), QColor(), QColor(32, 51, 20), Qt::black);
    QCOMPARE(check.UncheckedColour(), QColor(224, 8, 42));
    QCOMPARE(check.CheckedColour(), QColor(32, 51, 20));
}

void WidgetsTest::buttonDrawing() {
    MokButton button(QStringLiteral("Send"));
    button.resize(56, 23);
    const QImage up = Grab(button);
    QCOMPARE(PixelAt(up, 0, 0), QColor(194, 255, 53)); // lime frame
    QCOMPARE(PixelAt(up, 55, 22), QColor(194, 255, 53));
    QCOMPARE(PixelAt(up, 1, 1), QColor(32, 51, 20)); // dark green face
    const int textTop = FirstWhiteRow(up);
    QVERIFY(textTop > 1);

    // Pressed, the text box loses its top 2 px; centred, the text sinks by one.
    button.setDown(true);
    const QImage down = Grab(button);
    QCOMPARE(FirstWhiteRow(down), textTop + 1);
    QCOMPARE(PixelAt(down, 0, 0), QColor(194, 255, 53));
}

void WidgetsTest::buttonDoubleClick() {
    MokButton button(QStringLiteral("+"));
    button.resize(20, 18);
    int clicks = 0;
    int doubleClicks = 0;
    QObject::connect(&button, &MokButton::clicked, [&] { ++clicks; });
    QObject::connect(&button, &MokButton::doubleClicked, [&] { ++doubleClicks; });
    // The order the platform delivers a double-click in.
    QTest::mousePress(&button, Qt::LeftButton);
    QTest::mouseRelease(&button, Qt::LeftButton);
    QTest::mousePress(&button, Qt::LeftButton);
    QTest::mouseDClick(&button, Qt::LeftButton);
    QTest::mouseRelease(&button, Qt::LeftButton);
    QCOMPARE(clicks, 1);
    QCOMPARE(doubleClicks, 1);
    QVERIFY(!button.isDown());

    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
}

void WidgetsTest::pictures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("banner") << QString(Pictures::Banner) << QSize(456, 37);
    QTest::newRow("LCD") << QString(Pictures::Lcd) << QSize(462, 165);
    QTest::newRow("large icon") << QString(Pictures::IconLarge) << QSize(32, 32);
    QTest::newRow("small icon") << QString(Pictures::IconSmall) << QSize(16, 16);
    QTest::newRow("About") << QString(Pictures::About) << QSize(32, 32);
}

void WidgetsTest::pictures() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const QImage picture = Picture(name).toImage();
    QCOMPARE(picture.size(), size);
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
    QVERIFY2(colours.size() >= 2, "a picture, not a blank");

    // Enlarged three times by pixel repetition.
    const QImage enlarged = Picture(name, 3).toImage();
    QCOMPARE(enlarged.size(), size * 3);
    for (const QPoint p : {QPoint(0, 0), QPoint(size.width() / 2, size.height() / 2), QPoint(7, 9)})
        for (int dy = 0; dy < 3; ++dy)
            for (int dx = 0; dx < 3; ++dx)
                QCOMPARE(enlarged.pixel(p.x() * 3 + dx, p.y() * 3 + dy), picture.pixel(p));

    QVERIFY(Picture(QStringLiteral("NoSuchPicture")).isNull());
}

void WidgetsTest::pixelText() {
    QCOMPARE(PixelTextSize(QStringLiteral("VF-1")), QSize(24, 8));
    QCOMPARE(PixelTextSize(QStringLiteral("VF-1"), 3), QSize(72, 24));
    const QColor green(32, 51, 20);
    const QImage text = PixelText(QStringLiteral("IT"), green, 2).toImage();
    QCOMPARE(text.size(), QSize(24, 16));
    const auto inked = [&](int x, int y) { return QColor::fromRgba(text.pixel(x, y)) == green; };
    // 'I': a bar three pixels wide on top and bottom, the stem in the middle column; 2 x 2 blocks.
    QVERIFY(!inked(0, 0) && !inked(1, 1));
    QVERIFY(inked(2, 0) && inked(7, 1) && !inked(8, 0));
    QVERIFY(inked(4, 6) && inked(5, 7) && !inked(2, 6));
    QVERIFY(inked(2, 12) && inked(7, 13));
    // The sixth column and the eighth row of each cell stay empty.
    for (int y = 0; y < 16; ++y) QVERIFY(!inked(10, y) && !inked(11, y));
    for (int x = 0; x < 24; ++x) QVERIFY(!inked(x, 14) && !inked(x, 15));
    QVERIFY(inked(12, 0) && inked(21, 0)); // 'T' starts its own cell
    // Outside printable ASCII draws as '?'.
    QCOMPARE(PixelText(QString(QChar(0xE9)), green).toImage(),
             PixelText(QStringLiteral("?"), green).toImage());
    QVERIFY(PixelText(QString(), green).isNull());
}

void WidgetsTest::canvas() {
    PixelCanvas canvas(10, 6, Qt::white);
    canvas.Plot(-1, 0, Qt::black); // outside: dropped
    canvas.Plot(10, 6, Qt::black);
    canvas.Line(0, 0, 9, 5, Qt::black);
    QCOMPARE(canvas.At(0, 0), QColor(Qt::black));
    QCOMPARE(canvas.At(9, 5), QColor(Qt::black));
    canvas.Frame(0, 0, 10, 6, Qt::red);
    canvas.RoundCorners(0, 0, 10, 6, 1);
    QCOMPARE(canvas.At(0, 0).alpha(), 0);
    QCOMPARE(canvas.At(1, 0), QColor(Qt::red));
    QCOMPARE(canvas.At(9, 5).alpha(), 0);
    QCOMPARE(canvas.Text(1, 1, QStringLiteral("ab"), Qt::blue, 2), 1 + 24);
    const QImage enlarged = Enlarged(canvas.Image(), 2);
    QCOMPARE(enlarged.size(), QSize(20, 12));
    QCOMPARE(enlarged.pixel(3, 1), canvas.Image().pixel(1, 0));
}

QTEST_MAIN(WidgetsTest)
#include "Widgets_test.moc"
