#include "app/VF1App.h"

#include <QIcon>
#include <QStyleFactory>

#include "midi/VF1MIDI.h"
#include "midi/drivers/MidiSystem.h"
#include "model/VF1ValueType.h"
#include "ui/dialogs/DialogTransfers.h"
#include "ui/dialogs/VF1MessageBox.h"
#include "ui/editor/VF1main.h"
#include "ui/widgets/DialogTemplate.h"
#include "ui/widgets/PixelArt.h"

VF1App::VF1App(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Quellin"));
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
}

VF1App::~VF1App() {
    SetMessageHandler(previousHandler);
}

int VF1App::Run(const std::function<void(VF1main&)>& started) {
    devices = std::make_unique<MidiSystem>();
    VF1MIDI& midi = VF1MIDI::Instance();
    midi.SetDriver(devices.get());
    {
        VF1main window;
        DialogTransfers transfers(&window);
        midi.SetDialogs(&transfers);
        connect(&window, &QDialog::finished, this, &QCoreApplication::quit);
        window.show();
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
