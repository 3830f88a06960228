#include "ui/dialogs/VF1MessageBox.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include <array>

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

int ShowProgramMessage(const std::string& text, MessageStyle style) {
    return VF1MessageBox::Run(QApplication::activeWindow(), QString::fromStdString(text),
                              MessageBoxTypeFor(style));
}
