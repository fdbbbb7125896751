#pragma once

// Qt's own texts in Japanese (qtbase_ja.qm from the folder QLibraryInfo
// names), so the file dialogs, the standard buttons and the date pickers'
// calendars speak the language of the rest of the window. Installed once
// per application; false when the translation file cannot be loaded (Qt
// then speaks English, and nothing else changes).
bool InstallQtJapanese();
