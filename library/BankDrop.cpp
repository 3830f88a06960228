#include "library/BankDrop.h"

#include <memory>

#include "library/VF1Bank.h"

DropEffect ChooseDropEffect(bool ctrl, bool alt, bool shift, bool targetValid) {
    const bool swapKey = alt || shift;
    if (ctrl && !swapKey) return DropEffect::Replace;
    if (swapKey && !ctrl) return targetValid ? DropEffect::Swap : DropEffect::None;
    return DropEffect::Insert;
}

namespace {

DropResult Changed(VF1Bank& target, int selectRow) {
    target.SetModified();
    return {true, selectRow, false};
}

} // namespace

DropResult DropPatch(VF1Bank& source, int sourceIndex, VF1Bank& target, int row, DropEffect effect) {
    const int count = target.GetCount();
    if (count <= 1 || effect == DropEffect::None || row < 0 || row >= count) return {};
    VF1Patch* dragged = source.GetAt(sourceIndex);
    if (dragged == nullptr || !dragged->IsValid()) return {};
    VF1Patch* onto = target.GetAt(row);
    const bool sameBank = &source == &target;

    // Nothing follows the last slot to make room for: an insert there replaces it.
    if (effect == DropEffect::Insert && row == count - 1) effect = DropEffect::Replace;

    switch (effect) {
    case DropEffect::Replace:
        if (onto == dragged) return {};
        onto->CopyFrom(*dragged);
        return Changed(target, row);

    case DropEffect::Insert:
        if (!sameBank) {
            // The copy takes the last slot's patch object, so the bank keeps its 202 patches.
            std::unique_ptr<VF1Patch> last = target.RemoveAt(count - 1);
            last->CopyFrom(*dragged);
            target.InsertBefore(row, std::move(last));
            return Changed(target, row);
        }
        if (sourceIndex == row) return {};
        {
            // Moving up it lands on the row; moving down, the row has moved up by one once the
            // patch has left its place.
            const int landing = sourceIndex > row ? row : row - 1;
            target.InsertBefore(landing, target.RemoveAt(sourceIndex));
            return Changed(target, landing);
        }

    case DropEffect::Swap: {
        if (source.GetCount() <= 1 || !onto->IsValid() || onto == dragged) return {};
        VF1Patch held;
        held.CopyFrom(*onto);
        onto->CopyFrom(*dragged);
        dragged->CopyFrom(held);
        DropResult result = Changed(target, row);
        if (!sameBank) {
            source.SetModified();
            result.sourceChanged = true;
        }
        return result;
    }

    case DropEffect::None:
        break;
    }
    return {};
}

bool DeletePatch(VF1Bank& bank, int index) {
    VF1Patch* patch = bank.GetAt(index);
    if (patch == nullptr || !patch->IsValid()) return false;
    patch->Clear();
    bank.AddTail(bank.RemoveAt(index));
    bank.SetModified();
    return true;
}
