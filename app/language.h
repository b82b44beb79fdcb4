#pragma once

// The desktop's language: Qt's own translations (its buttons and dialogs) and
// Brindle's, for the locale of the system.

// Installs Qt's and Brindle's translations for the language of QLocale() on the
// running application; the translators live as long as it. Under C or an
// English locale nothing is installed and every text stays as written.
void installTranslations();
