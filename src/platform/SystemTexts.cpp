#include "SystemTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void InstallSystemTexts(QCoreApplication& app) {
    auto* texts = new QTranslator(&app);
    if (texts->load(QStringLiteral("qtbase_zh_CN"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(texts);
    else
        delete texts;
}
