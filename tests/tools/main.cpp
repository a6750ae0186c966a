#include "results/FontSetup.h"
#include "tests/results/ModalHelper.h"

int main(int argc, char **argv) {
    return RunWidgetTests(argc, argv, InstallFontSubstitutions);
}
