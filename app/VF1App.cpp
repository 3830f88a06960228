#include "app/VF1App.h"

#include <QIcon>
#include <QStyleFactory>

#include "midi/VF1MIDI.h"
#include "midi/drivers/MidiSystem.h"
#include "model/VF1ValueType.h"
#include "ui/dialogs/DialogTransfers.h"
#include "ui/dialogs/VF1MessageBox.h"
#include "ui/editor/BankManagerLink.h"
#include "ui/editor/PatchSession.h"
#include "ui/editor/VF1PatchListCtrl.h"
#include "ui/editor/VF1main.h"
#include "ui/librarian/VF1BankDlg.h"
#include "ui/widgets/DialogTemplate.h"
#include "ui/widgets/FileDrops.h"
#include "ui/widgets/PixelArt.h"

namespace {

// The main window's view of the bank manager; it lives as long as the manager.
class BankManagerAdapter : public QObject, public BankManagerLink {
  public:
    explicit BankManagerAdapter(VF1BankDlg& manager_) : QObject(&manager_), manager(manager_) {}

    bool HasUnsavedChanges() const override { return manager.HasUnsavedChanges(); }
    void ShowManager() override { manager.ShowManager(); }
    void HideManager() override { manager.HideManager(); }
    void RaiseManager() override { manager.RaiseManager(); }
    uint8_t* EditedPatchImage() override { return manager.EditedPatchImage(); }
    void EditedPatchChanged() override { manager.EditedPatchChanged(); }
    void StepPatch(int next) override { manager.StepPatch(next); }

  private:
    VF1BankDlg& manager;
};

} // namespace

VF1App::VF1App(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Quellin"));
    setApplicationVersion(QStringLiteral(QUELLIN_VERSION));
    // Ties the window to the installed desktop entry (its icon and name in the task bar).
    setDesktopFileName(QStringLiteral(QUELLIN_DESKTOP_ID));
    // The window's colours are palettes; one style draws them the same on every desktop.
    setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    InstallFontSubstitutions();
    QIcon icon;
    icon.addPixmap(Picture(Pictures::IconLarge));
    icon.addPixmap(Picture(Pictures::IconSmall));
    setWindowIcon(icon);
    // The program ends with its main window, even while the bank manager is still open.
    setQuitOnLastWindowClosed(false);
    previousHandler = SetMessageHandler(ShowProgramMessage);
    TrackActiveWindows();
}

VF1App::~VF1App() {
    SetMessageHandler(previousHandler);
}

void VF1App::ConnectBankManager(VF1main& window, VF1BankDlg& manager) {
    manager.SetPatchOpener([&window](const uint8_t* image, int bankNumber, int index) {
        return window.OpenBankPatch(image, bankNumber, index);
    });
    window.SetBankManager(new BankManagerAdapter(manager));
    connect(&manager, &VF1BankDlg::closed, &window, &VF1main::BankManagerClosed);
    AcceptFileDrops(window.PatchListView()->viewport(), [&window](const QStringList& paths) {
        for (const QString& path : paths) window.LoadPatchFromFile(path);
    });
}

void VF1App::OpenFiles(const QStringList& files, VF1main& window, VF1BankDlg& manager) {
    const QStringList patches = manager.TakeBankFiles(files);
    if (patches.size() != files.size()) window.ShowBankManager();
    for (const QString& path : patches) window.LoadPatchFromFile(path);
}

int VF1App::Run(const std::function<void(VF1main&)>& started, const QStringList& files) {
    devices = std::make_unique<MidiSystem>();
    VF1MIDI& midi = VF1MIDI::Instance();
    midi.SetDriver(devices.get());
    {
        // The bank manager outlives the window that calls it.
        VF1BankDlg bankManager;
        VF1main window;
        ConnectBankManager(window, bankManager);
        DialogTransfers transfers(&window);
        midi.SetDialogs(&transfers);
        connect(&window, &QDialog::finished, this, &QCoreApplication::quit);
        window.show();
        // The patches an earlier run left edited come back first, files named now after them.
        const std::string sessionPath = DefaultSessionPath();
        window.ResumeSession(sessionPath);
        window.KeepSession(sessionPath);
        OpenFiles(files, window, bankManager);
        if (started) started(window);
        exec();
        midi.SetDialogs(nullptr);
        // Destroying the window stores the MIDI settings.
    }
    ReleaseAllValueTypes();
    VF1MIDI::Release();
    devices.reset();
    return 0;
}
