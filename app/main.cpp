// Quellin's window.

#include "app/VF1App.h"

int main(int argc, char** argv) {
    VF1App app(argc, argv);
    return app.Run();
}
