#pragma once
// The bank manager's history: each of the two banks keeps its own steps (drops, deletes, pastes,
// swaps, and Load or Receive, which replace the whole bank). A step keeps the slots it changed,
// and for a whole bank also its name and the state it was last saved or loaded in. A swap across
// the banks is one step in each: undone in one, it is undone in the other as well, as long as it
// is the other bank's latest step. A bank back at the state it was saved or loaded in counts as
// unchanged again.

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <array>
#include <memory>
#include <vector>

#include "model/PatchLayout.h"

class VF1Bank;

// What the history asks of the bank manager.
class BankHistoryHost {
  public:
    virtual ~BankHistoryHost() = default;
    virtual VF1Bank* Bank(int bankNumber) const = 0;
    virtual QString BankName(int bankNumber) const = 0;
    virtual void SetBankName(int bankNumber, const QString& name) = 0;
    // The bank's list shows its slots again; its name box shows whether it has unsaved changes.
    virtual void ShowBank(int bankNumber) = 0;
};

class BankHistory : public QObject {
    Q_OBJECT
  public:
    explicit BankHistory(BankHistoryHost& host, QObject* parent = nullptr);
    ~BankHistory() override;

    QUndoStack& Stack(int bankNumber);
    // After a gesture changed one bank or both: one step in each bank that changed.
    void Record(const QString& label);
    // After Load or Receive put a new bank in place (already named): one step that brings the old
    // bank back with its name (oldName) and saved state. The new bank counts as saved.
    void RecordReplace(int bankNumber, const QString& label, const QString& oldName);
    // The bank was saved under its present name.
    void MarkSaved(int bankNumber);

    void Undo(int bankNumber);
    void Redo(int bankNumber);

    // Used by the steps.
    struct State;
    State& StateOf(int bankNumber);
    BankHistoryHost& Host() { return host; }
    // Takes the bank's slots as they are now and sets its changed flag from them.
    void Settle(int bankNumber);

  private:
    BankHistoryHost& host;
    std::array<std::unique_ptr<State>, 2> states;
};
