// Qt's own texts in Russian: the program speaks Russian whatever the language of the desktop.
#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

int InstallRussianTranslations(QCoreApplication& app) {
  const QLocale russian(QLocale::Russian, QLocale::Russia);
  QLocale::setDefault(russian);
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  int installed = 0;
  for (const char* catalogue : {"qtbase", "qtwebengine"}) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(russian, QString::fromLatin1(catalogue), QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator.get()))
      continue;
    translator.release()->setParent(&app); // the application keeps it as long as it runs
    ++installed;
  }
  return installed;
}
