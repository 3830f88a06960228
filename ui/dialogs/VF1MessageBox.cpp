#include "ui/dialogs/VF1MessageBox.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <array>
#include <vector>

#include "ui/widgets/Colours.h"
#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/Palettes.h"

namespace {

enum ControlId { kRightButton = 1, kLeftButton = 2, kTextStatic = 1101, kIconStatic = 1103 };

constexpr int kWidth = 189;
constexpr int kHeight = 46;
constexpr int kIconSize = 32;

constexpr std::array kControls = {
    ControlSpec{kTextStatic, DialogItemKind::Label, "test", 31, 4, 128, 20, kCentred},
    ControlSpec{kIconStatic, DialogItemKind::Picture, nullptr, 4, 5, 20, 20},
    ControlSpec{kLeftButton, DialogItemKind::PushButton, "Cancel", 40, 28, 40, 14},
    ControlSpec{kRightButton, DialogItemKind::DefaultButton, "OK", 110, 28, 40, 14},
};

// Longer messages make the box taller: one line per 35 characters or per line break, whichever
// gives more, and 15 px for every line past the first.
int ExtraHeight(const QString& text) {
    const int lines = static_cast<int>(text.count(QLatin1Char('\n')));
    const int byLength = static_cast<int>(text.size()) / 35;
    const int n = byLength >= lines ? byLength : lines;
    return n < 2 ? 0 : 15 * n - 15;
}

QStyle::StandardPixmap IconFor(unsigned type) {
    if (type & kMbIconInformation) return QStyle::SP_MessageBoxInformation;
    if (type & kMbIconQuestion) return QStyle::SP_MessageBoxQuestion;
    return QStyle::SP_MessageBoxCritical;
}

// Where a box of size stands centred over window: the platform's own placement guesses the size
// of window frames and misses where there are none. Kept on the window's screen.
QPoint CentredOver(const QWidget* window, const QSize& size) {
    const QPoint centre = window->frameGeometry().center();
    QPoint at(centre.x() - size.width() / 2, centre.y() - size.height() / 2);
    if (const QScreen* screen = window->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    }
    return at;
}

} // namespace

VF1MessageBox::VF1MessageBox(const QString& text, unsigned type, QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral(" Quellin"));
    controls = BuildControls(this, kControls);

    auto* textStatic = Control<QLabel>(controls, kTextStatic);
    auto* iconStatic = Control<QLabel>(controls, kIconStatic);
    auto* left = Control<QPushButton>(controls, kLeftButton);
    auto* right = Control<QPushButton>(controls, kRightButton);

    // Messages name files and devices; none of it is markup.
    textStatic->setTextFormat(Qt::PlainText);
    textStatic->setText(text);

    if (type & kMbOkCancel) {
        left->setText(QStringLiteral("Cancel"));
        right->setText(QStringLiteral("OK"));
    } else if (type & kMbYesNo) {
        left->setText(QStringLiteral("No"));
        right->setText(QStringLiteral("Yes"));
    } else {
        left->setEnabled(false);
        right->setText(QStringLiteral("OK"));
    }

    iconStatic->setPixmap(style()->standardIcon(IconFor(type), nullptr, this).pixmap(kIconSize, kIconSize));
    iconStatic->resize(kIconSize, kIconSize);

    const int extra = ExtraHeight(text);
    setFixedSize(DialogSizeToPixels(kWidth, kHeight) + QSize(0, extra));
    textStatic->resize(textStatic->width(), textStatic->height() + extra);
    left->move(left->x(), left->y() + extra);
    right->move(right->x(), right->y() + extra);
    FitLabels(this);

    // Lime everywhere, dark green text.
    ApplyDialogColours(this, Colours::Lime, Colours::Lime, Colours::DarkGreen);

    // The first usable button takes the focus, so Enter answers a question with Cancel or "No".
    if (left->isEnabled()) left->setFocus();

    // "Yes" answers as OK, "No" as Cancel: callers only ever see 1 and 2.
    connect(right, &QPushButton::clicked, this, [this] { done(kResultOk); });
    connect(left, &QPushButton::clicked, this, [this] { done(kResultCancel); });
}

void VF1MessageBox::reject() {
    done(kResultCancel);
}

int VF1MessageBox::Run(QWidget* parent, const QString& text, unsigned type) {
    VF1MessageBox box(text, type, parent);
    if (parent) box.move(CentredOver(parent->window(), box.size()));
    return box.exec();
}

unsigned MessageBoxTypeFor(MessageStyle style) {
    switch (style) {
    case MessageStyle::Info:
        return kMbIconInformation;
    case MessageStyle::Warning:
        return kMbIconWarning;
    case MessageStyle::Question:
        return kMbYesNo | kMbIconQuestion;
    case MessageStyle::Error:
        break;
    }
    return kMbOk;
}

namespace {

// Windows in the order they were last active, the latest at the back.
std::vector<QPointer<QWidget>>& ActiveWindows() {
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}

// A window a message may stand over: shown, and not a file dialog that is closing.
bool CanAsk(const QWidget* window) {
    return window && window->isVisible() && !qobject_cast<const QFileDialog*>(window) &&
           window->windowType() != Qt::Popup;
}

// Sees every window of the program become active.
class ActivationWatch : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) {
            QWidget* window = static_cast<QWidget*>(watched)->window();
            auto& windows = ActiveWindows();
            std::erase_if(windows,
                          [window](const QPointer<QWidget>& w) { return w.isNull() || w == window; });
            windows.emplace_back(window);
        }
        return false;
    }
};

} // namespace

void TrackActiveWindows() {
    static QPointer<ActivationWatch> watch;
    if (watch || !qApp) return;
    watch = new ActivationWatch(qApp);
    qApp->installEventFilter(watch);
}

QWidget* AskingWindow() {
    if (QWidget* active = QApplication::activeWindow(); CanAsk(active)) return active;
    const auto& windows = ActiveWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (CanAsk(*it)) return *it;
    return nullptr;
}

int ShowProgramMessage(const std::string& text, MessageStyle style) {
    return VF1MessageBox::Run(AskingWindow(), QString::fromStdString(text), MessageBoxTypeFor(style));
}
