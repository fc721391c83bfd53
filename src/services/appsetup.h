#pragma once

#include <QString>

class QApplication;

namespace qrn {

// What the program tells the window system and Qt before its first window:
// the name "quorantel" (the window class task bars group by, matching the
// desktop entry), the program's icon for every window, and Qt's own
// translations so that stock dialogs speak the author's language.
void setUpApplication(QApplication& app);

// The language of Qt's stock dialogs: the first of the system's languages
// that Qt has a translation for, or Japanese, since every other text of the
// editor is Japanese. English counts as having none (it is Qt's own).
// Returns the language code whose translation was installed ("ja", "de", ...),
// or an empty string when none could be loaded.
QString installQtTranslation(QApplication& app);

}  // namespace qrn
