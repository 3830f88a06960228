#pragma once
// Rearranging banks: what a patch dropped onto a bank row does, and what the Delete key does.
// The bank lists only translate the mouse and the keys into these calls, so the rules hold the
// same for a drag, a paste from the list's menu and a file dropped from outside.
//
// A one-slot bank is the edited-patch holder: it accepts nothing, and what is dragged from it
// can be inserted or copied over a slot, never swapped.

class VF1Bank;

enum class DropEffect { None = 0, Insert = 1, Replace = 2, Swap = 4 };

struct DropResult {
    bool changed = false;
    // The row to select in the target afterwards (-1 when nothing changed).
    int selectRow = -1;
    // A swap between two banks changed the source bank as well.
    bool sourceChanged = false;
};

// What the modifier keys held over a row ask for: Ctrl alone replaces; Alt or Shift alone swap,
// but only onto a valid patch (nothing is offered over an empty one); no modifier, or Ctrl
// together with Alt or Shift, inserts. Window managers often keep Alt+drag for themselves, so
// Shift swaps as well.
DropEffect ChooseDropEffect(bool ctrl, bool alt, bool shift, bool targetValid);

// Drops the patch at sourceIndex of source onto row of target:
// - Replace: the patch at row becomes a copy of the dropped one (the source keeps its own).
// - Insert from another bank: a copy goes in before row; the target's last slot is lost and the
//   slots from row on move down by one.
// - Insert within one bank: the patch moves; it ends at row when it moves up and at row - 1
//   when it moves down.
// - Insert onto the last row replaces it.
// - Swap: the two patches exchange places (contents); both banks change.
// Refused, changing nothing: a one-slot target, no effect, an empty or missing source patch, a
// row outside the target, a swap from a one-slot source or onto an empty patch, a drop of a
// patch onto itself. A change marks the target modified (and the source, after a swap).
DropResult DropPatch(VF1Bank& source, int sourceIndex, VF1Bank& target, int row, DropEffect effect);

// The Delete key on the patch at index: a valid patch is emptied and moved to the end of the
// bank, the slots after it move up by one, and the bank is marked modified. Returns whether
// anything changed; an empty slot or an index outside the bank changes nothing.
bool DeletePatch(VF1Bank& bank, int index);
