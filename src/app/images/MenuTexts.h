#pragma once

#include <QString>

class QCoreApplication;

namespace rovex {

// Installs the "MainMenu" texts for the user's language (English when none matches);
// a key without text shows the key itself. Calling it again replaces the texts it
// installed before, so a change of language does not stack translators.
void installMenuTexts(QCoreApplication& application);

// QCoreApplication::translate("MainMenu", key)
QString menuText(const char* key);

} // namespace rovex
