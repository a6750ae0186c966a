// Zelvano: the input window as the main window and the hidden results window beside it.
#include "app/Instance.h"
#include "app/Unit1.h"
#include "results/FontSetup.h"
#include "results/Language.h"
#include "results/Unit2.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    // Names the fallback folder of data.ini (~/.config/zelvano).
    QCoreApplication::setApplicationName(QStringLiteral("zelvano"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zelvano.Zelvano"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/zelvano-256.png")));
    InstallFontSubstitutions();
    // "--lang ru|en" chooses the language, else the one picked in the window, else the system's;
    // any other argument is left to Qt.
    QCommandLineParser parser;
    parser.addOption(QCommandLineOption(QStringLiteral("lang"), QString(), QStringLiteral("LANG")));
    parser.parse(QApplication::arguments());
    InstallLanguage(ChooseLanguage(LanguageOption(parser.value(QStringLiteral("lang"))),
                                   ReadLanguage(DefaultSettingsPlace()), SystemUiLanguages()));

    // Destroyed in reverse: the results window (and the formula font) first, then the input
    // window, which saves the variant.
    // A second copy opens its windows a little lower and to the right of the first.
    const TInstanceSlot slot(InstanceFolder());
    TForm1 form1;
    TFrmRun frmRun;
    form1.SetResultsWindow(&frmRun);
    form1.move(form1.pos() + slot.Offset());
    frmRun.SetPlacementOffset(slot.Offset());
    form1.show();
    return QApplication::exec();
}
