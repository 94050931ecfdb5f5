// Qt's own texts in Russian: the program speaks Russian whatever the language of the desktop.
#pragma once

class QCoreApplication;

// Makes Russian the default locale (before any web view exists, so the web engine takes it too) and
// installs Qt's Russian catalogues of the widgets and of the web engine from Qt's translations
// folder. Returns how many catalogues were installed; a missing one leaves those texts in English.
int InstallRussianTranslations(QCoreApplication& app);
