#pragma once

// Qt's own texts (the standard buttons of message boxes, the context menus
// of text fields and of web pages) in Korean, like the rest of the program,
// whatever the desktop's language. Debian ships them in
// qt6-translations-l10n; without that package they stay English.
namespace QtTranslations {

// Installs the Korean catalogues on the running application. Returns false
// when the base catalogue was not found. Call once, after the application
// object exists.
bool InstallKorean();

} // namespace QtTranslations
