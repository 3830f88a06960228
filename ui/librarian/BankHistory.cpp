#include "ui/librarian/BankHistory.h"

#include <QUndoCommand>

#include <utility>

#include "library/VF1Bank.h"
#include "model/PatchImage.h"
#include "model/VF1Patch.h"

using Images = std::vector<PatchImage>;

struct BankHistory::State {
    QUndoStack stack;
    // The slots as the last step left them, and as they were last saved or loaded.
    Images images;
    std::shared_ptr<const Images> saved = std::make_shared<const Images>();
};

namespace {

Images ImagesOf(const VF1Bank* bank) {
    Images images;
    if (bank == nullptr) return images;
    for (int i = 0; i < bank->GetCount(); ++i) images.push_back(bank->GetAt(i)->Image());
    return images;
}

// Saving numbers every image after its slot: whether a bank is as it was saved is a question of
// the patches, not of the slot numbers their images carry.
bool SamePatches(const Images& a, const Images& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        PatchImage x = a[i];
        PatchImage y = b[i];
        AddressPatchImage(x, PatchAddressBytes{});
        AddressPatchImage(y, PatchAddressBytes{});
        if (x != y) return false;
    }
    return true;
}

struct SlotChange {
    int slot;
    PatchImage before;
    PatchImage after;
};

std::vector<SlotChange> Changes(const Images& before, const Images& after) {
    std::vector<SlotChange> changes;
    for (size_t i = 0; i < after.size(); ++i) {
        const PatchImage old = i < before.size() ? before[i] : PatchImage{};
        if (old != after[i]) changes.push_back({static_cast<int>(i), old, after[i]});
    }
    return changes;
}

// The first call of redo comes from the push: the change is made already.
class BankStep : public QUndoCommand {
  public:
    BankStep(BankHistory& history, int bankNumber, const QString& text, std::vector<SlotChange> changes)
        : history(history), bankNumber(bankNumber), changes(std::move(changes)) {
        setText(text);
    }

    // A whole bank replaced: its name and saved state come back with it.
    void SetWhole(QString nameBefore, QString nameAfter, std::shared_ptr<const Images> savedBefore,
                  std::shared_ptr<const Images> savedAfter) {
        whole = true;
        names = {std::move(nameBefore), std::move(nameAfter)};
        saved = {std::move(savedBefore), std::move(savedAfter)};
    }
    void SetPeer(BankStep* other) { peer = other; }

    void undo() override { Run(true); }
    void redo() override {
        if (std::exchange(pushed, false)) return;
        Run(false);
    }

  private:
    void Run(bool back) {
        Apply(back);
        // The other half of a swap across the banks, when it is the next step there to take.
        if (peer == nullptr || busy) return;
        QUndoStack& other = history.Stack(peer->bankNumber);
        const int at = back ? other.index() - 1 : other.index();
        if (at < 0 || at >= other.count() || other.command(at) != peer) return;
        busy = peer->busy = true;
        if (back) other.undo();
        else other.redo();
        busy = peer->busy = false;
    }

    void Apply(bool back) {
        VF1Bank* bank = history.Host().Bank(bankNumber);
        if (bank == nullptr) return;
        for (const SlotChange& c : changes)
            if (VF1Patch* patch = bank->GetAt(c.slot)) patch->SetImage(back ? c.before : c.after, false);
        if (whole) {
            history.Host().SetBankName(bankNumber, back ? names.first : names.second);
            history.StateOf(bankNumber).saved = back ? saved.first : saved.second;
        }
        history.Settle(bankNumber);
    }

    BankHistory& history;
    int bankNumber;
    std::vector<SlotChange> changes;
    bool whole = false;
    std::pair<QString, QString> names;
    std::pair<std::shared_ptr<const Images>, std::shared_ptr<const Images>> saved;
    BankStep* peer = nullptr;
    bool busy = false;
    bool pushed = true;
};

} // namespace

BankHistory::BankHistory(BankHistoryHost& host_, QObject* parent) : QObject(parent), host(host_) {
    for (int n = 1; n <= 2; ++n) {
        states[static_cast<size_t>(n - 1)] = std::make_unique<State>();
        State& state = StateOf(n);
        state.images = ImagesOf(host.Bank(n));
        state.saved = std::make_shared<const Images>(state.images);
    }
}

BankHistory::~BankHistory() = default;

BankHistory::State& BankHistory::StateOf(int bankNumber) {
    return *states[bankNumber == 2 ? 1 : 0];
}

QUndoStack& BankHistory::Stack(int bankNumber) {
    return StateOf(bankNumber).stack;
}

void BankHistory::Settle(int bankNumber) {
    State& state = StateOf(bankNumber);
    VF1Bank* bank = host.Bank(bankNumber);
    state.images = ImagesOf(bank);
    if (bank) {
        if (SamePatches(state.images, *state.saved)) bank->ClearModified();
        else bank->SetModified();
    }
    host.ShowBank(bankNumber);
}

void BankHistory::Record(const QString& label) {
    std::array<BankStep*, 2> made{};
    for (int n = 1; n <= 2; ++n) {
        State& state = StateOf(n);
        std::vector<SlotChange> changes = Changes(state.images, ImagesOf(host.Bank(n)));
        if (changes.empty()) continue;
        made[static_cast<size_t>(n - 1)] = new BankStep(*this, n, label, std::move(changes));
    }
    if (made[0] && made[1]) {
        made[0]->SetPeer(made[1]);
        made[1]->SetPeer(made[0]);
    }
    for (int n = 1; n <= 2; ++n) {
        if (BankStep* step = made[static_cast<size_t>(n - 1)]) {
            Stack(n).push(step);
            Settle(n);
        }
    }
}

void BankHistory::RecordReplace(int bankNumber, const QString& label, const QString& oldName) {
    State& state = StateOf(bankNumber);
    const Images now = ImagesOf(host.Bank(bankNumber));
    auto* step = new BankStep(*this, bankNumber, label, Changes(state.images, now));
    step->SetWhole(oldName, host.BankName(bankNumber), state.saved, std::make_shared<const Images>(now));
    state.saved = std::make_shared<const Images>(now);
    state.stack.push(step);
    Settle(bankNumber);
}

void BankHistory::MarkSaved(int bankNumber) {
    State& state = StateOf(bankNumber);
    state.images = ImagesOf(host.Bank(bankNumber));
    state.saved = std::make_shared<const Images>(state.images);
    Settle(bankNumber);
}

void BankHistory::Undo(int bankNumber) {
    if (Stack(bankNumber).canUndo()) Stack(bankNumber).undo();
}

void BankHistory::Redo(int bankNumber) {
    if (Stack(bankNumber).canRedo()) Stack(bankNumber).redo();
}
