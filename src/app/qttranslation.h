#pragma once

class QCoreApplication;

// Qt's own Russian texts ("Сохранить как", "Имя файла", "Отмена" in the standard dialogs), whatever
// the system's language: the window is Russian throughout. Looked for in Qt's translations folder,
// then in a "translations" folder next to the program (where a copy of the program carries its own).
// False when neither holds them; the dialogs then keep Qt's English.
bool InstallQtRussian(QCoreApplication& app);
