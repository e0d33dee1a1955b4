#include "app/GermanQtTexts.h"

#include <QCoreApplication>
#include <QTranslator>

void loadGermanQtTexts()
{
    // The build refuses to go on without the file, so the load cannot miss it.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/translations/qtbase_de.qm")))
        QCoreApplication::installTranslator(translator);
}
