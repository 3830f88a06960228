#pragma once
// The application: the toolkit, the program's message box for every message, the MIDI devices
// behind the MIDI object, and the main window from start to shut-down.

#include <QApplication>

#include <functional>
#include <memory>

#include "model/Report.h"

class MidiSystem;
class VF1main;

class VF1App : public QApplication {
    Q_OBJECT
  public:
    VF1App(int& argc, char** argv);
    ~VF1App() override;

    // Builds the main window, shows it and runs until it closes; then releases what the window
    // used. started runs once the window is shown. The program's result, 0.
    int Run(const std::function<void(VF1main&)>& started = {});

  private:
    MessageHandler previousHandler;
    std::unique_ptr<MidiSystem> devices;
};
