// Quellin's window. Files named on the command line open in it: bank files in the bank manager
// (the first in Bank 1, the second in Bank 2), single-patch files in the editor.

#include "app/VF1App.h"

int main(int argc, char** argv) {
    VF1App app(argc, argv);
    // What Qt has not taken of the command line.
    return app.Run({}, QCoreApplication::arguments().mid(1));
}
