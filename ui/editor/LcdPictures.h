#pragma once
// The pictures of the diagram, drawn by the pixel-art renderer the first time a window asks for
// them: the thirteen flow pictures of the algorithm families, the 37 algorithm name pictures, the
// four pictures of every block button and the two cursors of the LCD area. All are drawn at the
// unit's display size; the diagram shows them enlarged three times.

#include <QCursor>
#include <QPixmap>
#include <QString>

inline constexpr int kLcdEnlargement = 3;

// Block button states, as the diagram counts them.
enum BlockButtonState : int { kBlockOn = 0, kBlockOff = 1, kBlockSelOn = 2, kBlockSelOff = 3 };

// Makes the renderer know the pictures below (once; later calls do nothing).
void RegisterLcdPictures();

// Picture names: a flow picture is known by its own name ("LCDGuitarMulti"); the name picture of
// an algorithm is "AlgName" followed by 200 + its number; a button's by its base name and state
// ("DlyOn", "DlySelOff"; the Master's "Master" and "MasterSel").
QString AlgorithmNamePicture(int algorithm);
QString BlockButtonPicture(const char* baseName, int state);

// The names of the thirteen flow pictures.
QStringList FlowPictureNames();

// The pointer over a block button (419) and over the MIDI settings spot (410).
QCursor BlockButtonCursor();
QCursor MidiSpotCursor();
