#pragma once
// What the main window asks of the bank manager. The bank manager window implements it; the main
// window holds a pointer that stays null until one is attached, and skips every call then.

#include <cstdint>

class BankManagerLink {
  public:
    virtual ~BankManagerLink() = default;

    // Either bank has changes that no file holds yet.
    virtual bool HasUnsavedChanges() const = 0;

    // The bank manager is a top-level window of its own.
    virtual void ShowManager() = 0;
    virtual void HideManager() = 0;
    // Brings it to the top of the window order without activating it.
    virtual void RaiseManager() = 0;

    // The 585 bytes of the "Edited Patch" slot; the main window builds a patch image into them and
    // then reports the change.
    virtual uint8_t* EditedPatchImage() = 0;
    virtual void EditedPatchChanged() = 0;

    // Moves the active bank's selection to the next (next = 1) or previous (next = 0) slot,
    // wrapping, and opens that patch in the main window.
    virtual void StepPatch(int next) = 0;
};
