// Qt's own texts (the print and file dialogs, the buttons of message boxes) in the program's
// language.
#pragma once

// Installs Qt's Russian translations (qtbase_ru.qm from Qt's translations folder) into the
// running application. False when they are not installed; Qt's texts then stay English.
bool InstallQtTranslations();
