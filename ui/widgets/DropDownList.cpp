#include "ui/widgets/DropDownList.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFrame>
#include <QLayout>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>

#include <algorithm>

#include "ui/widgets/Colours.h"
#include "ui/widgets/Palettes.h"

namespace {

// The application's style, except that an open list is a list of its own height under the box
// (not a menu over the whole screen), so that the number of rows it shows can be set.
class ListBelowStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

// One for all drop-down lists, on the application's own style; it goes with the application.
QStyle* ListBelow() {
    static QPointer<QStyle> style;
    if (!style) {
        style = new ListBelowStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(qApp);
    }
    return style;
}

} // namespace

DropDownList::DropDownList(QWidget* parent) : CaptionedComboBox(parent) {
    setStyle(ListBelow());
    // The list as the program's lists look, its scroll bar and frame lime as well.
    QAbstractItemView* list = view();
    ApplyLcdColours(list);
    QPalette colours = list->palette();
    SetBackgroundColour(colours, QPalette::Window, Colours::Lime);
    list->setPalette(colours);
    // The frame around the list is a window of its own and takes no colours from the box.
    if (QWidget* frame = list->parentWidget()) frame->setPalette(colours);
}

void DropDownList::showPopup() {
    if (listHeight > 0) {
        // The rows that fit once the frames around them are taken off.
        QAbstractItemView* list = view();
        int frames = 2 * list->frameWidth();
        if (auto* frame = qobject_cast<QFrame*>(list->parentWidget())) {
            frames += 2 * frame->frameWidth();
            if (const QLayout* layout = frame->layout())
                frames += layout->contentsMargins().top() + layout->contentsMargins().bottom();
        }
        const int row = std::max(1, list->sizeHintForRow(0));
        setMaxVisibleItems(std::max(1, (listHeight - frames) / row));
    }
    QComboBox::showPopup();
}
