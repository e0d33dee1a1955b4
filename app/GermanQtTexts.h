#pragma once

// Loads Qt's German translation of its own texts, compiled into the program,
// whatever the system's language: edit box context menus read "&Rückgängig",
// shortcuts "Strg+Q", as on a German Windows. Call once, before the first window.
void loadGermanQtTexts();
