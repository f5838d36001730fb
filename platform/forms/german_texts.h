#pragma once

// Qt's own dialogs (file, print, colour, font), its context menus and standard buttons speak
// German when Qt's German translations are installed. Both programs call this first thing
// after making their QApplication; a second call does nothing. False when the translation
// file cannot be found (the dialogs then stay in English; nothing else changes).
namespace forms {

bool installGermanTexts();

}  // namespace forms
