#pragma once
// The editor's history. Every change the window makes to an open patch is a step that Undo takes
// back and Redo makes again; each open patch keeps a history of its own. A step keeps only what
// it changed (a value, a block's bytes, or a whole patch where the whole patch changed) and puts
// it back through the same setters a control uses, so that with real-time editing on the unit
// hears an undo as it heard the edit.
//
// Compare shows the patch as it was opened or last saved or sent, and back.

#include <QObject>
#include <QString>
#include <QUndoGroup>
#include <QUndoStack>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/PatchLayout.h"
#include "model/RealTime.h"

class VF1Algorithm;

// What the history asks of the window that shows the current patch.
class PatchEditor {
  public:
    virtual ~PatchEditor() = default;
    virtual VF1Algorithm* EditedPatch() const = 0;
    // The open patch at index of the patch list.
    virtual VF1Algorithm* PatchAt(int index) const = 0;
    // The current patch changed under the diagram: show it again, with block selected (-1 keeps
    // the selection), and its name, category and algorithm in their boxes.
    virtual void ShowRestoredPatch(int block) = 0;
    // Puts a patch built from data in place of the current one and shows it.
    virtual bool PutPatchData(const PatchData& data) = 0;
    // The patch send that Auto-send makes after a change of the whole patch.
    virtual void SendEditedPatch() = 0;
};

// The patch data an algorithm writes (header half, stream half and the zeros behind the blocks).
PatchData PatchDataOf(VF1Algorithm& patch);

class PatchHistory : public QObject, public ParamEditListener {
    Q_OBJECT
  public:
    explicit PatchHistory(PatchEditor& editor, QObject* parent = nullptr);
    ~PatchHistory() override;

    QUndoGroup& Group() { return group; }
    // The patch list: a patch was appended (its history starts empty, and it is unedited), one was
    // removed (its history goes with it), one became current.
    void PatchAdded(VF1Algorithm& patch);
    void PatchRemoved(int index);
    // Before another patch becomes current: pending changes become a step of the patch they were
    // made to, and a comparison ends on the edited state.
    void Leave();
    void SetCurrent(int index);
    int CurrentIndex() const { return current; }
    int PatchCount() const { return static_cast<int>(entries.size()); }
    QUndoStack* Stack(int index) const;

    // The current patch was saved or sent: Compare shows this state from now on, and the patch
    // counts as unedited until it changes again.
    void MarkStored();
    // A patch differs from the state it was opened, saved or sent in (while comparing, the edited
    // state counts).
    bool IsEdited(int index) const;
    const PatchData& Reference(int index) const;
    // What the patch at index was opened as, when that was not its present state (a patch kept
    // across a crash reopens edited).
    void SetReference(int index, const PatchData& data);
    // The patch at index as the user edited it: while comparing, the state Compare hides.
    PatchData EditedState(int index) const;

    // Runs action, which changes the current patch, and records all it changed as one step named
    // label: a block's step when only that block changed, else a whole patch's. sendAlways: undo
    // and redo of a whole patch send it as Auto-send does even without real-time editing (as a
    // change of algorithm does).
    void RecordBlockAction(const QString& label, int block, const std::function<void()>& action);
    void RecordPatchAction(const QString& label, bool sendAlways, const std::function<void()>& action);
    // The name or category of the current patch changed (already stored in the patch).
    void RecordHeaderChange(const QString& label);

    void Undo();
    void Redo();
    bool CanUndo();
    bool CanRedo();
    // "Undo <what>" and "Redo <what>", or "Undo" and "Redo" when there is nothing to take.
    QString UndoText();
    QString RedoText();

    // Switches the current patch between its edited state and its stored one.
    void Compare();
    bool IsComparing();

    // Records the changes made since the last step now; otherwise this happens once control is
    // back in the event loop, so that all one gesture changes is one step.
    void Flush();
    // The clock steps are merged by (milliseconds); tests set their own.
    void SetClock(std::function<int64_t()> clock) { now = std::move(clock); }

    // ParamEditListener.
    void OnParamEdited(VF1Param& param, int oldValue, bool nested) override;
    void OnTargetEdited(VF1TargetParam& target, int oldValue, int oldMin, int oldMax) override;

    // Used by the steps.
    PatchEditor& Editor() { return editor; }
    // Changes made inside are not recorded (a step being undone or redone, a comparison).
    void RunUnrecorded(const std::function<void()>& action);
    // The last known state of the current patch follows the patch again.
    void TakeSnapshot();

  signals:
    // The open patches or their state changed (a step, an undo, a comparison, an open or a removal).
    void changed();

  private:
    struct Entry;
    struct Pending;
    struct Snapshot;

    Entry* CurrentEntry() const;
    void Push(std::unique_ptr<class QUndoCommand> step);
    void ScheduleFlush();
    void EndComparison();
    // Where a parameter of the current patch lives: its block and its index in the block's walk.
    bool Locate(const VF1Param& param, int& block, int& index) const;

    PatchEditor& editor;
    QUndoGroup group;
    std::vector<std::unique_ptr<Entry>> entries;
    int current = -1;
    std::unique_ptr<Pending> pending;
    std::unique_ptr<Snapshot> snapshot;
    bool recording = true;
    bool flushQueued = false;
    std::function<int64_t()> now;
};
