#pragma once

// Qt's own dialogs (print, page set-up, file dialog, the preview's tool tips) speak Japanese like
// the rest of the program. Loads Qt's Japanese translations from where Qt keeps them, or from a
// "translations" folder beside the program (where an installation on Windows puts them); returns
// whether they were found.
bool installJapaneseTranslations();
