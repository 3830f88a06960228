#include "ui/widgets/DialogTemplate.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "ui/widgets/DialogUnits.h"
#include "ui/widgets/DropDownList.h"
#include "ui/widgets/MokButton.h"
#include "ui/widgets/MokCheckBox.h"

namespace {

// The closed box of a drop-down list, in dialog units.
constexpr int kDropDownBoxHeight = 12;

QWidget* Create(const ControlSpec& row, QWidget* parent, const CustomFactory& custom) {
    const QString text = QString::fromUtf8(row.text ? row.text : "");
    switch (row.kind) {
    case DialogItemKind::Label:
    case DialogItemKind::ClickLabel: {
        auto* label = new QLabel(text, parent);
        label->setWordWrap(true);
        label->setAlignment((row.flags & kCentred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        if (row.kind == DialogItemKind::ClickLabel) label->setCursor(Qt::PointingHandCursor);
        if (row.flags & kBordered) label->setFrameStyle(QFrame::Box | QFrame::Plain);
        return label;
    }
    case DialogItemKind::PushButton:
        return new QPushButton(text, parent);
    case DialogItemKind::DefaultButton: {
        auto* button = new QPushButton(text, parent);
        button->setDefault(true);
        return button;
    }
    case DialogItemKind::MokButton:
        return new MokButton(text, parent);
    case DialogItemKind::MokCheckBox:
    case DialogItemKind::MokRadio: {
        auto* box =
            new MokCheckBox(text, (row.flags & kTextOnLeft) != 0, (row.flags & kMultiLine) != 0, parent);
        box->SetRadio(row.kind == DialogItemKind::MokRadio);
        return box;
    }
    case DialogItemKind::Edit:
        return new QLineEdit(text, parent);
    case DialogItemKind::ReadOnlyEdit: {
        auto* edit = new QLineEdit(text, parent);
        edit->setReadOnly(true);
        return edit;
    }
    case DialogItemKind::DropDownList:
        return new DropDownList(parent);
    case DialogItemKind::ListBox:
        return new QListWidget(parent);
    case DialogItemKind::GroupBox:
        return new QGroupBox(text, parent);
    case DialogItemKind::Picture: {
        auto* picture = new QLabel(parent);
        if (row.flags & kBordered) picture->setFrameStyle(QFrame::Box | QFrame::Plain);
        return picture;
    }
    case DialogItemKind::Custom:
        return custom ? custom(row, parent) : new QWidget(parent);
    }
    return new QWidget(parent);
}

} // namespace

ControlMap BuildControls(QWidget* parent, std::span<const ControlSpec> table, const CustomFactory& custom,
                         const DialogFace* face) {
    const DialogBaseUnits units = face ? face->units : kDialogBaseUnits;
    ControlMap map;
    for (const ControlSpec& row : table) {
        QWidget* widget = Create(row, parent, custom);
        QRect rect = units.ToPixels(row.x, row.y, row.w, row.h);
        // A drop-down list's template height includes its open list; the closed box is one line.
        if (row.kind == DialogItemKind::DropDownList) {
            rect.setHeight(units.ToPixelsY(kDropDownBoxHeight));
            static_cast<DropDownList*>(widget)->SetListHeight(units.ToPixelsY(row.h) - rect.height());
        }
        widget->setGeometry(rect);
        widget->setFont(face ? face->font : DialogFont());
        if (row.flags & kHidden) widget->hide();
        if (row.flags & kDisabled) widget->setEnabled(false);
        if (row.id >= 0) {
            widget->setObjectName(QString::number(row.id));
            map[row.id] = widget;
        }
    }
    return map;
}

void FitLabels(QWidget* parent, int maxGrowth) {
    for (auto* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (!label->wordWrap() || label->text().isEmpty()) continue;
        const QRect rect = label->geometry();
        for (int grow = 0; grow <= maxGrowth; ++grow) {
            const QRect wider = rect.adjusted(-grow, 0, grow, 0);
            if (label->heightForWidth(wider.width()) <= wider.height()) {
                label->setGeometry(wider);
                break;
            }
        }
    }
}

void OfferDefaultButton(QPushButton* button) {
    if (button->isEnabled() && button->isDefault()) return;
    button->setEnabled(true);
    button->setDefault(true);
    button->setFocus(Qt::OtherFocusReason);
}

void InstallFontSubstitutions() {
    static bool done = false;
    if (done) return;
    done = true;
    QFont::insertSubstitution(QStringLiteral("MS Shell Dlg"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"));
}
