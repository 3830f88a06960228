#pragma once
// What the diagram's block buttons and the parameter controls say they are to assistive
// technology (and to the GUI test tools that read the same tree): a block button is a push button
// named after its block, checked while the block is on, selected while it is the selected block,
// pressed like a click; a parameter control is a group named after its parameter.

// Registers the interfaces with Qt's accessibility layer; the widgets call it once constructed.
void InstallEditorAccessibility();
