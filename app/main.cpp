// Zelvano: the input window as the main window and the hidden results window beside it.
#include "app/Unit1.h"
#include "results/FontSetup.h"
#include "results/Unit2.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    // Names the fallback folder of data.ini (~/.config/zelvano).
    QCoreApplication::setApplicationName(QStringLiteral("zelvano"));
    InstallFontSubstitutions();

    // Destroyed in reverse: the results window (and the formula font) first, then the input
    // window, which saves the variant.
    TForm1 form1;
    TFrmRun frmRun;
    form1.SetResultsWindow(&frmRun);
    form1.show();
    return QApplication::exec();
}
