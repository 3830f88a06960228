#pragma once
// What the owner-drawn check box and slider say they are to assistive technology (and to the GUI
// test tools that read the same tree): a check box or radio button with its text and checked
// state that presses like a click; a slider with its value, its range and the platform slider's
// keys. The push button is a QPushButton and needs nothing of its own.

// Registers the interfaces with Qt's accessibility layer; the widgets call it once constructed.
void InstallMokAccessibility();
