#pragma once
// The main window: the list of open patches, the current patch's algorithm, name and category,
// the LCD area where its diagram goes and the frame for its parameter panel, the controls that
// send a patch to the unit and request one from it, and the ways to the bank manager, the MIDI
// settings, the About box and the Global section.

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/VF1Algorithm.h"
#include "ui/editor/PatchHistory.h"
#include "ui/editor/VF1GlobalSection.h"
#include "ui/widgets/DialogTemplate.h"

class BankManagerLink;
class MIDILFOControlsDlg;
class MokCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QTimer;
class VF1FXControlWnd;
class VF1MIDIDlg;
class VF1PatchListCtrl;

class VF1main : public QDialog, public AlgorithmObserver, public PatchEditor {
    Q_OBJECT
  public:
    // Control ids of the window's table.
    enum ControlId {
        kParamPanelFrame = 1,
        kCategoryList = 1006,
        kSend = 1008,
        kRandomizeEffect = 1009,
        kRandomizePatch = 1010,
        kRequest = 1012,
        kNameBox = 1014,
        kRealTimeEdits = 1024,
        kNameLabel = 1026,
        kCategoryLabel = 1027,
        kAlgorithmLabel = 1028,
        kPatchesLabel = 1029,
        kTargetEdit = 1040,
        kTargetA = 1041,
        kTargetB = 1042,
        kPatchNumberList = 1043,
        kPatchList = 1044,
        kAlgorithmList = 1045,
        kAddPatch = 1046,
        kRemovePatch = 1047,
        kLoad = 1049,
        kSave = 1050,
        kExpand = 1051,
        kBanks = 1060,
        kGlobalGroup = VF1GlobalSection::kGroup,
        kPatchToBank = 1071,
        kNextBankPatch = 1072,
        kPreviousBankPatch = 1073,
        kTransferGroup = 1099,
        kAutoSend = 1100,
        kBankPatchLabel = 1104,
        kAboutLabel = 1105,
        kRandomizeLabel = 1120,
    };

    explicit VF1main(QWidget* parent = nullptr);
    ~VF1main() override;

    // Opens a patch image of a bank (bank 1 or 2, slot 0..201) as a new patch and selects it.
    bool OpenBankPatch(const uint8_t* image, int bankNumber, int index);

    // AlgorithmObserver: the current patch reports changes the diagram has to follow.
    void OnEffectPositionsChanged(bool moved) override;
    void OnBlockLayoutChanged() override;

    // PatchEditor: what undo, redo and Compare do to the window.
    VF1Algorithm* EditedPatch() const override { return patchList.GetCurrent(); }
    VF1Algorithm* PatchAt(int index) const override { return patchList.GetAt(index); }
    void ShowRestoredPatch(int block) override;
    bool PutPatchData(const PatchData& data) override;
    void SendEditedPatch() override { ApplyAutoSend(); }

    // The open patches' histories and Compare.
    PatchHistory& History() { return *history; }
    void Undo() { history->Undo(); }
    void Redo() { history->Redo(); }
    void Compare() { history->Compare(); }

    // The open patches kept between runs. ResumeSession, at start: when the last run left edited
    // patches that were never saved or sent in the file at path, asks whether to open them again
    // (Yes opens them after the patches already open, No discards the kept copy); a damaged file
    // is set aside. KeepSession: from now on the file is rewritten a moment after each change.
    void ResumeSession(const std::string& path);
    void KeepSession(const std::string& path);
    void WriteSessionNow();

    // The bank manager, once there is one (not owned); null skips every call to it.
    void SetBankManager(BankManagerLink* manager) { bankManager = manager; }
    // "Banks": shows the bank manager, which a restore after minimising shows again until the
    // user closes it.
    void ShowBankManager();
    void BankManagerClosed() { bankWindowShown = false; }

    // The user's actions, as the window's controls run them. Load and Save ask for a file first;
    // the File variants take the path.
    void AddPatch();
    void RemovePatch();
    void LoadPatch();
    bool LoadPatchFromFile(const QString& path);
    // Opens each single-patch file as Load does, in order, the last one current; a file that
    // cannot be opened gives Load's message and the others still open.
    void OpenFiles(const QStringList& paths);
    void SavePatch();
    bool SavePatchToFile(const QString& path);
    void SendCurrentPatch();
    void RequestPatch();
    void ToggleGlobalSection();
    // Randomize "Effect" and "Patch": random values for the selected block (never the Master) or
    // for every block but the Master. With real-time editing on, the unit gets the block or, by
    // the auto-send step, the patch in one go.
    void RandomizeEffect();
    void RandomizePatch();
    void OpenMidiSettings();
    void ShowAbout();
    // Sends the current patch to the unit's edit buffer when "Auto-send" is checked; otherwise
    // turns real-time editing off.
    void ApplyAutoSend();

    VF1AlgorithmList& Patches() { return patchList; }
    VF1PatchListCtrl* PatchListView() const { return patchListView; }
    VF1MIDIDlg& MidiSettingsDialog() { return *midiSettingsDialog; }
    VF1GlobalSection& GlobalSection() { return *globalSection; }
    QWidget* ControlById(int id) const;
    bool IsExpanded() const { return expanded; }
    bool IsInitialised() const { return initialised; }
    const std::string& NameText() const { return nameText; }
    // The current patch's diagram with its parameter panels (not owned by the caller).
    VF1FXControlWnd* Diagram() const { return diagram.get(); }

    // The LCD picture's spot that opens the MIDI settings (client pixels of the picture).
    static QRect MidiSettingsHotSpot();

    // The client widths of the window with the Global section hidden and shown.
    static int CollapsedWidth();
    static int ExpandedWidth();

  signals:
    // The window has painted itself for the first time.
    void firstPainted();

  public slots:
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void CreatePictures();
    void SetUpControls();
    void SetColoursAndFonts();
    void CreateTransferFrame();
    void CreateGlobalSection();
    void CreateLfoPanel();
    void CollapseGlobalSection();
    void ApplyStoredMidiSettings();
    // Finds the devices the MIDI settings chose in the lists as they are now, by their remembered
    // names; true when one is gone and another device stands at its index.
    bool FollowChosenDevices(const std::vector<std::string>& outNames,
                             const std::vector<std::string>& inNames);
    // The devices selected in the MIDI settings are the ones remembered.
    void RememberChosenDevices(const std::vector<std::string>& outNames,
                               const std::vector<std::string>& inNames);
    void SetUpPatchList();
    void Connect();
    void SetUpHistoryKeys();

    // Patch list rows and the editor's boxes.
    void InsertPatchRow(const QString& from);
    void OnRowSelected(int row);
    void OnEmptyListClick();
    void OnAlgorithmChosen(int listIndex);
    void ChangeAlgorithm(int listIndex);
    void OnCategoryChosen(int index);
    void OnNameChanged(const QString& text);
    void OnNameFocusLost();
    void OnTargetClicked(int id);
    void ShowRealTimeEdits();
    bool TargetIsEdit() const;
    bool TargetIsBankB() const;
    int TargetNumber() const;

    // The bank manager's part.
    void PatchToBank();
    void StepBankPatch(int next);

    // The algorithm diagram over the LCD picture, its parameter panels in the parameter panel frame.
    void BuildDiagram();
    void DestroyDiagram();
    void RepositionDiagramBlocks();
    void RebuildSelectedPanel();
    VF1Effect* SelectedEffect() const;
    void RefreshSelectedPanel();
    void RebuildChangeablePanels();

    // Runs randomise with real-time editing off; true if a variable-position effect moved the
    // other one meanwhile.
    bool RandomiseQuietly(const std::function<void()>& randomise);

    std::unique_ptr<VF1MIDIDlg> midiSettingsDialog;
    std::unique_ptr<PatchHistory> history;
    std::string sessionPath;
    QTimer* sessionTimer = nullptr;
    BankManagerLink* bankManager = nullptr;
    VF1AlgorithmList patchList;
    std::string nameText;
    bool expanded = false;
    bool initialised = false;
    bool listNotify = false;
    int lastSelected = 0;
    bool bankWindowShown = false;
    bool painted = false;
    bool randomising = false;
    bool movedWhileRandomising = false;

    ControlMap controls;
    VF1PatchListCtrl* patchListView = nullptr;
    QComboBox* algorithmList = nullptr;
    QComboBox* categoryList = nullptr;
    QComboBox* patchNumberList = nullptr;
    QLineEdit* nameBox = nullptr;
    MokCheckBox* autoSend = nullptr;
    MokCheckBox* realTimeEdits = nullptr;
    QLabel* bannerPicture = nullptr;
    QLabel* lcdPicture = nullptr;
    QFrame* paramPanelFrame = nullptr;
    QFrame* transferFrame = nullptr;
    VF1GlobalSection* globalSection = nullptr;
    std::unique_ptr<VF1FXControlWnd> diagram;
    MIDILFOControlsDlg* lfoPanel = nullptr;
};
