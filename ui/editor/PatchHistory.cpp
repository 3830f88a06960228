#include "ui/editor/PatchHistory.h"

#include <QTimer>
#include <QUndoCommand>

#include <algorithm>
#include <chrono>
#include <utility>

#include "model/PatchStream.h"
#include "model/VF1Algorithm.h"
#include "model/VF1MasterEffect.h"
#include "ui/editor/VF1control.h"

namespace {

// Steps of one control that follow each other within this time are one step.
constexpr int64_t kMergeWindowMs = 1000;

enum StepId { kParamStepId = 1, kBlockStepId = 2 };

int64_t SteadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::vector<uint8_t> BlockBytes(VF1Effect& block) {
    std::array<uint8_t, kStreamHalfSize> scratch{};
    PatchStream stream(scratch.data(), scratch.size());
    const int n = block.WriteStream(stream);
    return {scratch.begin(), scratch.begin() + n};
}

VF1Param* ParamAt(VF1Algorithm& patch, int block, int index) {
    VF1Effect* effect = patch.GetBlock(block);
    if (effect == nullptr) return nullptr;
    const std::vector<VF1Param*> live = effect->LiveParams();
    return index >= 0 && index < static_cast<int>(live.size()) ? live[static_cast<size_t>(index)] : nullptr;
}

QString StepName(const VF1Param& param) {
    return VF1control::AccessibleName(param);
}

// The first call of redo comes from the push: the change is made already.
class Step : public QUndoCommand {
  public:
    Step(PatchHistory& history, const QString& text) : history(history) { setText(text); }

    void undo() override { Run(true); }
    void redo() override {
        if (std::exchange(pushed, false)) return;
        Run(false);
    }

  protected:
    virtual void Apply(bool back) = 0;

    PatchHistory& history;

  private:
    void Run(bool back) {
        history.RunUnrecorded([this, back] { Apply(back); });
        history.TakeSnapshot();
    }
    bool pushed = true;
};

// One or more values of the current patch, put back through the parameters' setters.
class ParamStep : public Step {
  public:
    struct Change {
        int block;
        int index;
        bool nested;
        bool target;
        int oldValue, newValue;
        int oldMin, newMin, oldMax, newMax;
        bool Unchanged() const { return oldValue == newValue && oldMin == newMin && oldMax == newMax; }
    };

    ParamStep(PatchHistory& history, const QString& text, std::vector<Change> changes, int64_t at)
        : Step(history, text), changes(std::move(changes)), at(at) {}

    int id() const override { return kParamStepId; }

    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const ParamStep*>(other);
        if (next->at - at > kMergeWindowMs || !SameControls(*next)) return false;
        for (const Change& c : next->changes) {
            const auto mine = std::find_if(changes.begin(), changes.end(), [&c](const Change& m) {
                return m.block == c.block && m.index == c.index;
            });
            if (mine == changes.end()) {
                changes.push_back(c);
                continue;
            }
            mine->newValue = c.newValue;
            mine->newMin = c.newMin;
            mine->newMax = c.newMax;
        }
        at = next->at;
        setObsolete(
            std::all_of(changes.begin(), changes.end(), [](const Change& c) { return c.Unchanged(); }));
        return true;
    }

  protected:
    void Apply(bool back) override {
        VF1Algorithm* patch = history.Editor().EditedPatch();
        if (patch == nullptr) return;
        // The values the user set, in the order they were set (backwards for undo); the values
        // that followed from them follow again.
        auto setOne = [&](const Change& c) {
            VF1Param* p = ParamAt(*patch, c.block, c.index);
            if (p == nullptr || c.nested) return;
            if (c.target) SetTarget(static_cast<VF1TargetParam&>(*p), c, back);
            else p->SetValue(back ? c.oldValue : c.newValue);
        };
        if (back) std::for_each(changes.rbegin(), changes.rend(), setOne);
        else std::for_each(changes.begin(), changes.end(), setOne);
        // A value that did not follow (which the unit's own rules should never allow) is put
        // right quietly, and the unit gets the whole patch.
        bool mended = false;
        for (const Change& c : changes) {
            VF1Param* p = ParamAt(*patch, c.block, c.index);
            const int want = back ? c.oldValue : c.newValue;
            if (p && !c.target && p->GetValue() != want) {
                p->SetStoredValue(want);
                mended = true;
            }
        }
        history.Editor().ShowRestoredPatch(changes.front().block);
        if (mended && RealTimeEdits()) history.Editor().SendEditedPatch();
    }

  private:
    static void SetTarget(VF1TargetParam& target, const Change& c, bool back) {
        const int value = back ? c.oldValue : c.newValue;
        const int min = back ? c.oldMin : c.newMin;
        const int max = back ? c.oldMax : c.newMax;
        // As the control does it: another target comes with its range.
        const bool newTarget = target.GetValue() != value;
        if (newTarget) {
            const int entry = target.FindEntry(value);
            if (entry >= 0) target.SetValueIndex(entry);
            else target.SetStoredValue(value);
        }
        if (newTarget || target.GetTargetMin() != min) target.SetTargetMin(min);
        if (newTarget || target.GetTargetMax() != max) target.SetTargetMax(max);
    }

    bool SameControls(const ParamStep& next) const {
        auto topLevel = [](const std::vector<Change>& list) {
            std::vector<std::pair<int, int>> keys;
            for (const Change& c : list)
                if (!c.nested) keys.emplace_back(c.block, c.index);
            std::sort(keys.begin(), keys.end());
            keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
            return keys;
        };
        return topLevel(changes) == topLevel(next.changes);
    }

    std::vector<Change> changes;
    int64_t at;
};

// A block's worth: its stream bytes read back, and the block sent whole as its edit sent it.
class BlockStep : public Step {
  public:
    BlockStep(PatchHistory& history, const QString& text, int block, int control, std::vector<uint8_t> before,
              std::vector<uint8_t> after, int64_t at)
        : Step(history, text), block(block), control(control), before(std::move(before)),
          after(std::move(after)), at(at) {}

    // Only the steps of one control (a selector's thumb moving through its values) merge.
    int id() const override { return control >= 0 ? kBlockStepId : -1; }

    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const BlockStep*>(other);
        if (next->block != block || next->control != control || next->at - at > kMergeWindowMs) return false;
        after = next->after;
        at = next->at;
        setObsolete(before == after);
        return true;
    }

  protected:
    void Apply(bool back) override {
        VF1Algorithm* patch = history.Editor().EditedPatch();
        VF1Effect* effect = patch ? patch->GetBlock(block) : nullptr;
        if (effect == nullptr) return;
        std::vector<uint8_t> bytes = back ? before : after;
        PatchStream stream(bytes.data(), bytes.size());
        effect->ReadStream(stream);
        patch->RebuildTargets();
        if (RealTimeEdits())
            if (RealTimeSink* sink = GetRealTimeSink()) sink->SendBlock(*effect);
        history.Editor().ShowRestoredPatch(block);
    }

  private:
    int block;
    int control;
    std::vector<uint8_t> before;
    std::vector<uint8_t> after;
    int64_t at;
};

// A whole patch: rebuilt from its data and sent as Auto-send sends a changed patch.
class PatchStep : public Step {
  public:
    PatchStep(PatchHistory& history, const QString& text, const PatchData& before, const PatchData& after,
              bool sendAlways)
        : Step(history, text), before(before), after(after), sendAlways(sendAlways) {}

  protected:
    void Apply(bool back) override {
        if (!history.Editor().PutPatchData(back ? before : after)) return;
        if (sendAlways || RealTimeEdits()) history.Editor().SendEditedPatch();
    }

  private:
    PatchData before;
    PatchData after;
    bool sendAlways;
};

// The name or the category, set as their boxes set them; the patch goes to the unit as it did
// when the box was left.
class HeaderStep : public Step {
  public:
    HeaderStep(PatchHistory& history, const QString& text, std::string oldName, std::string newName,
               int oldCategory, int newCategory)
        : Step(history, text), oldName(std::move(oldName)), newName(std::move(newName)),
          oldCategory(oldCategory), newCategory(newCategory) {}

  protected:
    void Apply(bool back) override {
        VF1Algorithm* patch = history.Editor().EditedPatch();
        if (patch == nullptr) return;
        patch->SetName(back ? oldName : newName);
        patch->SetCategory(back ? oldCategory : newCategory);
        history.Editor().ShowRestoredPatch(-1);
        history.Editor().SendEditedPatch();
    }

  private:
    std::string oldName, newName;
    int oldCategory, newCategory;
};

} // namespace

PatchData PatchDataOf(VF1Algorithm& patch) {
    PatchData data{};
    patch.WritePatchData(data.data());
    return data;
}

struct PatchHistory::Entry {
    QUndoStack stack;
    PatchData reference{};
    bool comparing = false;
    PatchData edited{};
};

// What changed since the last step, in the order it changed.
struct PatchHistory::Pending {
    std::vector<ParamStep::Change> changes;
    // The first selector that changed, which makes the step a block's worth.
    int selectorBlock = -1;
    int selectorIndex = -1;
    QString name;
};

// The current patch as the last step left it.
struct PatchHistory::Snapshot {
    PatchData data{};
    std::vector<std::vector<uint8_t>> blocks;
    std::string name;
    int category = 0;
};

PatchHistory::PatchHistory(PatchEditor& editor_, QObject* parent)
    : QObject(parent), editor(editor_), pending(std::make_unique<Pending>()),
      snapshot(std::make_unique<Snapshot>()), now(SteadyMilliseconds) {
    SetParamEditListener(this);
}

PatchHistory::~PatchHistory() {
    if (GetParamEditListener() == this) SetParamEditListener(nullptr);
}

PatchHistory::Entry* PatchHistory::CurrentEntry() const {
    return current >= 0 && current < PatchCount() ? entries[static_cast<size_t>(current)].get() : nullptr;
}

QUndoStack* PatchHistory::Stack(int index) const {
    return index >= 0 && index < PatchCount() ? &entries[static_cast<size_t>(index)]->stack : nullptr;
}

void PatchHistory::PatchAdded(VF1Algorithm& patch) {
    Flush();
    auto entry = std::make_unique<Entry>();
    entry->reference = PatchDataOf(patch);
    group.addStack(&entry->stack);
    entries.push_back(std::move(entry));
    emit changed();
}

void PatchHistory::PatchRemoved(int index) {
    Flush();
    if (index < 0 || index >= PatchCount()) return;
    entries.erase(entries.begin() + index);
    if (current == index) current = -1;
    else if (current > index) --current;
    emit changed();
}

void PatchHistory::Leave() {
    Flush();
    if (IsComparing()) Compare();
}

void PatchHistory::SetCurrent(int index) {
    Flush();
    current = index;
    Entry* entry = CurrentEntry();
    group.setActiveStack(entry ? &entry->stack : nullptr);
    TakeSnapshot();
    emit changed();
}

void PatchHistory::TakeSnapshot() {
    VF1Algorithm* patch = editor.EditedPatch();
    if (patch == nullptr) return;
    snapshot->data = PatchDataOf(*patch);
    snapshot->blocks.clear();
    for (int i = 0; i < patch->GetBlockCount(); ++i)
        snapshot->blocks.push_back(BlockBytes(*patch->GetBlock(i)));
    snapshot->name = patch->GetName();
    snapshot->category = patch->GetCategory();
}

void PatchHistory::RunUnrecorded(const std::function<void()>& action) {
    const bool was = recording;
    recording = false;
    action();
    recording = was;
}

bool PatchHistory::Locate(const VF1Param& param, int& block, int& index) const {
    VF1Algorithm* patch = editor.EditedPatch();
    if (patch == nullptr) return false;
    for (int b = 0; b < patch->GetBlockCount(); ++b) {
        const std::vector<VF1Param*> live = patch->GetBlock(b)->LiveParams();
        const auto at = std::find(live.begin(), live.end(), &param);
        if (at != live.end()) {
            block = b;
            index = static_cast<int>(at - live.begin());
            return true;
        }
    }
    return false;
}

namespace {
// The first change of a parameter since the last step holds its old state; later ones add nothing.
void NoteChange(std::vector<ParamStep::Change>& changes, const ParamStep::Change& change) {
    const auto known = std::find_if(changes.begin(), changes.end(), [&change](const ParamStep::Change& c) {
        return c.block == change.block && c.index == change.index;
    });
    if (known == changes.end()) changes.push_back(change);
}
} // namespace

void PatchHistory::OnParamEdited(VF1Param& param, int oldValue, bool nested) {
    int block = 0;
    int index = 0;
    if (!recording || CurrentEntry() == nullptr || !Locate(param, block, index)) return;
    NoteChange(pending->changes, {block, index, nested, false, oldValue, 0, 0, 0, 0, 0});
    if (param.IsSetSelector() && pending->selectorBlock < 0) {
        pending->selectorBlock = block;
        pending->selectorIndex = index;
    }
    if (pending->name.isEmpty() && !nested) pending->name = StepName(param);
    ScheduleFlush();
}

void PatchHistory::OnTargetEdited(VF1TargetParam& target, int oldValue, int oldMin, int oldMax) {
    int block = 0;
    int index = 0;
    if (!recording || CurrentEntry() == nullptr || !Locate(target, block, index)) return;
    NoteChange(pending->changes, {block, index, false, true, oldValue, 0, oldMin, 0, oldMax, 0});
    if (pending->name.isEmpty()) pending->name = StepName(target);
    ScheduleFlush();
}

void PatchHistory::ScheduleFlush() {
    if (flushQueued) return;
    flushQueued = true;
    QTimer::singleShot(0, this, &PatchHistory::Flush);
}

void PatchHistory::Flush() {
    flushQueued = false;
    if (pending->changes.empty()) return;
    Pending taken = std::move(*pending);
    *pending = Pending{};
    VF1Algorithm* patch = editor.EditedPatch();
    if (patch == nullptr || CurrentEntry() == nullptr) return;
    EndComparison();

    if (taken.selectorBlock >= 0) {
        // A selector changed the block's parameter set: the step keeps the block's bytes, or the
        // whole patch if more than the block changed.
        const int b = taken.selectorBlock;
        bool othersSame = true;
        for (int i = 0; i < patch->GetBlockCount(); ++i)
            if (i != b && i < static_cast<int>(snapshot->blocks.size()) &&
                BlockBytes(*patch->GetBlock(i)) != snapshot->blocks[static_cast<size_t>(i)])
                othersSame = false;
        if (othersSame && b < static_cast<int>(snapshot->blocks.size()))
            Push(std::make_unique<BlockStep>(*this, taken.name, b, taken.selectorIndex,
                                             snapshot->blocks[static_cast<size_t>(b)],
                                             BlockBytes(*patch->GetBlock(b)), now()));
        else Push(std::make_unique<PatchStep>(*this, taken.name, snapshot->data, PatchDataOf(*patch), false));
        return;
    }

    for (ParamStep::Change& c : taken.changes) {
        VF1Param* p = ParamAt(*patch, c.block, c.index);
        if (p == nullptr) continue;
        c.newValue = p->GetValue();
        if (c.target) {
            auto& target = static_cast<VF1TargetParam&>(*p);
            c.newMin = target.GetTargetMin();
            c.newMax = target.GetTargetMax();
        }
    }
    std::erase_if(taken.changes, [](const ParamStep::Change& c) { return c.Unchanged(); });
    if (taken.changes.empty()) return;
    // A nested change listed before the change it followed from (it cannot be, but the order of
    // the list is the order undo reverses) would be set first: keep the user's changes first.
    std::stable_partition(taken.changes.begin(), taken.changes.end(),
                          [](const ParamStep::Change& c) { return !c.nested; });
    Push(std::make_unique<ParamStep>(*this, taken.name, std::move(taken.changes), now()));
}

void PatchHistory::Push(std::unique_ptr<QUndoCommand> step) {
    Entry* entry = CurrentEntry();
    if (entry == nullptr) return;
    entry->stack.push(step.release());
    TakeSnapshot();
    emit changed();
}

void PatchHistory::RecordBlockAction(const QString& label, int block, const std::function<void()>& action) {
    Flush();
    VF1Algorithm* patch = editor.EditedPatch();
    if (patch == nullptr || CurrentEntry() == nullptr) {
        action();
        return;
    }
    EndComparison();
    RunUnrecorded(action);
    patch = editor.EditedPatch();
    bool othersSame = true;
    for (int i = 0; i < patch->GetBlockCount(); ++i)
        if (i != block && i < static_cast<int>(snapshot->blocks.size()) &&
            BlockBytes(*patch->GetBlock(i)) != snapshot->blocks[static_cast<size_t>(i)])
            othersSame = false;
    const PatchData after = PatchDataOf(*patch);
    if (after == snapshot->data) return;
    if (othersSame && block >= 0 && block < static_cast<int>(snapshot->blocks.size()))
        Push(std::make_unique<BlockStep>(*this, label, block, -1,
                                         snapshot->blocks[static_cast<size_t>(block)],
                                         BlockBytes(*patch->GetBlock(block)), now()));
    else Push(std::make_unique<PatchStep>(*this, label, snapshot->data, after, false));
}

void PatchHistory::RecordPatchAction(const QString& label, bool sendAlways,
                                     const std::function<void()>& action) {
    Flush();
    if (editor.EditedPatch() == nullptr || CurrentEntry() == nullptr) {
        action();
        return;
    }
    EndComparison();
    RunUnrecorded(action);
    const PatchData after = PatchDataOf(*editor.EditedPatch());
    if (after != snapshot->data)
        Push(std::make_unique<PatchStep>(*this, label, snapshot->data, after, sendAlways));
}

void PatchHistory::RecordHeaderChange(const QString& label) {
    Flush();
    VF1Algorithm* patch = editor.EditedPatch();
    if (patch == nullptr || CurrentEntry() == nullptr) return;
    if (patch->GetName() == snapshot->name && patch->GetCategory() == snapshot->category) return;
    EndComparison();
    Push(std::make_unique<HeaderStep>(*this, label, snapshot->name, patch->GetName(), snapshot->category,
                                      patch->GetCategory()));
}

void PatchHistory::Undo() {
    Flush();
    // While comparing, the first undo only brings the edited state back.
    if (IsComparing()) {
        Compare();
        return;
    }
    if (Entry* entry = CurrentEntry(); entry && entry->stack.canUndo()) {
        entry->stack.undo();
        emit changed();
    }
}

void PatchHistory::Redo() {
    Flush();
    if (IsComparing()) Compare();
    if (Entry* entry = CurrentEntry(); entry && entry->stack.canRedo()) {
        entry->stack.redo();
        emit changed();
    }
}

bool PatchHistory::CanUndo() {
    Flush();
    const Entry* entry = CurrentEntry();
    return entry && entry->stack.canUndo();
}

bool PatchHistory::CanRedo() {
    Flush();
    const Entry* entry = CurrentEntry();
    return entry && entry->stack.canRedo();
}

QString PatchHistory::UndoText() {
    return CanUndo() ? QStringLiteral("Undo ") + CurrentEntry()->stack.undoText() : QStringLiteral("Undo");
}

QString PatchHistory::RedoText() {
    return CanRedo() ? QStringLiteral("Redo ") + CurrentEntry()->stack.redoText() : QStringLiteral("Redo");
}

void PatchHistory::MarkStored() {
    Flush();
    Entry* entry = CurrentEntry();
    VF1Algorithm* patch = editor.EditedPatch();
    if (entry == nullptr || patch == nullptr) return;
    // What was saved or sent is what shows, compared or not.
    entry->comparing = false;
    entry->reference = PatchDataOf(*patch);
    emit changed();
}

bool PatchHistory::IsEdited(int index) const {
    if (index < 0 || index >= PatchCount()) return false;
    const Entry& entry = *entries[static_cast<size_t>(index)];
    return EditedState(index) != entry.reference;
}

const PatchData& PatchHistory::Reference(int index) const {
    return entries.at(static_cast<size_t>(index))->reference;
}

void PatchHistory::SetReference(int index, const PatchData& data) {
    if (index < 0 || index >= PatchCount()) return;
    entries[static_cast<size_t>(index)]->reference = data;
    emit changed();
}

PatchData PatchHistory::EditedState(int index) const {
    const Entry& entry = *entries.at(static_cast<size_t>(index));
    if (entry.comparing) return entry.edited;
    VF1Algorithm* patch = editor.PatchAt(index);
    return patch ? PatchDataOf(*patch) : entry.reference;
}

bool PatchHistory::IsComparing() {
    // An edit not yet recorded has ended the comparison already.
    Flush();
    const Entry* entry = CurrentEntry();
    return entry && entry->comparing;
}

void PatchHistory::Compare() {
    Flush();
    Entry* entry = CurrentEntry();
    VF1Algorithm* patch = editor.EditedPatch();
    if (entry == nullptr || patch == nullptr) return;
    if (entry->comparing) {
        entry->comparing = false;
        RunUnrecorded([this, entry] { editor.PutPatchData(entry->edited); });
    } else {
        const PatchData edited = PatchDataOf(*patch);
        // Nothing to compare with: the patch is as it was stored.
        if (edited == entry->reference) return;
        entry->edited = edited;
        entry->comparing = true;
        RunUnrecorded([this, entry] { editor.PutPatchData(entry->reference); });
    }
    if (RealTimeEdits()) editor.SendEditedPatch();
    TakeSnapshot();
    emit changed();
}

void PatchHistory::EndComparison() {
    Entry* entry = CurrentEntry();
    if (entry == nullptr || !entry->comparing) return;
    // An edit made while the stored state shows starts from it: the edited state it replaces
    // stays one undo away.
    entry->comparing = false;
    if (entry->reference != entry->edited)
        entry->stack.push(
            new PatchStep(*this, QStringLiteral("Compare"), entry->edited, entry->reference, false));
}
