#pragma once
// The application: the toolkit, the program's message box for every message, the MIDI devices
// behind the MIDI object, and the main window from start to shut-down.

#include <QApplication>

#include <functional>
#include <memory>

#include "model/Report.h"

class MidiSystem;
class VF1BankDlg;
class VF1main;

class VF1App : public QApplication {
    Q_OBJECT
  public:
    VF1App(int& argc, char** argv);
    ~VF1App() override;

    // Builds the main window, shows it, opens the files (bank files in the bank manager, patch
    // files in the editor) and runs until it closes; then releases what the window used. started
    // runs once the window is shown. The program's result, 0.
    int Run(const std::function<void(VF1main&)>& started = {}, const QStringList& files = {});

    // The main window and the bank manager as they work together: the main window opens the
    // manager, fills its holder and steps through its banks; the manager opens bank patches in the
    // editor and reports its close box. Patch files dropped onto the patch list open there.
    static void ConnectBankManager(VF1main& window, VF1BankDlg& manager);

  private:
    static void OpenFiles(const QStringList& files, VF1main& window, VF1BankDlg& manager);

    MessageHandler previousHandler;
    std::unique_ptr<MidiSystem> devices;
};
