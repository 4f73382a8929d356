#include "TranslationLoader.h"

#include <QCoreApplication>
#include <QDir>

QStringList CTranslationLoader::Folders(const QString& applicationDir)
{
    const QDir dir(applicationDir);
    return {QDir::cleanPath(dir.filePath(QStringLiteral("../share/tilemont/translations"))),
            QDir::cleanPath(dir.filePath(QStringLiteral("../translations")))};
}

bool CTranslationLoader::Install(const QLocale& locale, const QStringList& folders, const QString& qtFolder)
{
    // QTranslator tries the locale's languages from the most particular
    // ("de_AT") to the plain one ("de").
    bool own = false;
    for (const QString& folder : folders) {
        if (m_own.load(locale, QStringLiteral("tilemont"), QStringLiteral("_"), folder)) {
            own = QCoreApplication::installTranslator(&m_own);
            break;
        }
    }
    // Qt's own texts only beside ours: a window half in one language and
    // half in another would read worse than one all in English.
    if (own && m_qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), qtFolder))
        QCoreApplication::installTranslator(&m_qt);
    return own;
}
