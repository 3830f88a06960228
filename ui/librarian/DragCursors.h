#pragma once
// The cursors a patch drag shows, drawn by the program: an arrow labelled "Insert", "Replace" or
// "Swap" for what a drop would do there, and up-and-down arrows while a list scrolls under it.
// A drag cursor's hot spot is the middle of its picture, so each arrow's tip sits there.

#include <QString>

namespace Pictures {
inline constexpr const char* ScrollCursor = "Cursor434";
inline constexpr const char* ReplaceCursor = "Cursor440";
inline constexpr const char* InsertCursor = "Cursor441";
inline constexpr const char* SwapCursor = "Cursor442";
} // namespace Pictures

// Makes the four pictures known to the renderer; later calls do nothing.
void RegisterDragCursors();
