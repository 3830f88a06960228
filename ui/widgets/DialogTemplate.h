#pragma once
// A window's controls as a static table (id, kind, text, x, y, w, h in dialog units, flags), read
// by one builder that converts the units and creates the widgets. Windows keep their tables in
// their own sources, one row per control, as the templates list them.

#include <QWidget>

#include <functional>
#include <map>
#include <span>

// The widget a row of a dialog template creates (a parameter's control is a ParamControlKind).
enum class DialogItemKind {
    Label,         // static text
    ClickLabel,    // static text that reports clicks (a QLabel the owner connects)
    PushButton,    // platform push button
    DefaultButton, // default push button
    MokButton,     // owner-drawn flat button
    MokCheckBox,   // owner-drawn check box
    MokRadio,      // owner-drawn check box used as a radio button
    Edit,          // single-line edit box
    ReadOnlyEdit,  // read-only edit box (reports as a static)
    DropDownList,  // drop-down list
    ListBox,       // list box
    GroupBox,      // group box
    Picture,       // picture (QLabel showing a pixmap)
    Custom,        // created by the window's factory
};

// Flags of a row.
enum ControlFlag : unsigned {
    kHidden = 1u << 0,
    kDisabled = 1u << 1,
    kCentred = 1u << 2,    // centred text
    kTextOnLeft = 1u << 3, // check box with its mark on the right
    kMultiLine = 1u << 4,  // word-wrapped text
    kGroupStart = 1u << 5,
    kBordered = 1u << 6,
};

struct ControlSpec {
    int id;
    DialogItemKind kind;
    const char* text;
    int x, y, w, h;
    unsigned flags = 0;
};

using ControlMap = std::map<int, QWidget*>;
// Creates the widget of a Custom row (the geometry is applied by the builder).
using CustomFactory = std::function<QWidget*(const ControlSpec&, QWidget* parent)>;

// Creates every control of the table as a child of parent, in table order (which is also the tab
// order), and returns them by id. Rows without an id (-1) are created but not returned.
// The table is in the units of face, whose font the controls get (the 8-point dialog font unless
// the template names another).
struct DialogFace;
ControlMap BuildControls(QWidget* parent, std::span<const ControlSpec> table,
                         const CustomFactory& custom = {}, const DialogFace* face = nullptr);

// Looks a control up with its class; nullptr if the id is missing or of another class.
template <class T> T* Control(const ControlMap& map, int id) {
    const auto it = map.find(id);
    return it == map.end() ? nullptr : qobject_cast<T*>(it->second);
}

// The templates were laid out for the platform's dialog face; the face that stands in for it runs
// a little wider. A word-wrapped label whose text needs more height than its row gives grows
// sideways around its middle, by at most maxGrowth pixels a side, until the text fits. Called
// once a window has set its texts; covers every label of parent, with or without an id.
void FitLabels(QWidget* parent, int maxGrowth = 6);

class QPushButton;

// Offers a dialog's default button once it may be used: enabled, the default, and with the focus,
// so that Enter means it rather than the button that had the focus while it was disabled.
void OfferDefaultButton(QPushButton* button);

// Once per process: font substitutions so the template fonts resolve to metric-compatible faces.
void InstallFontSubstitutions();
