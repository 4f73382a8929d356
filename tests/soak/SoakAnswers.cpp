#include "SoakAnswers.h"

#include "document/Messages.h"

#include <QDir>

CSoakAnswers::CSoakAnswers(CSoakContext& context) : m_c(context)
{
}

std::optional<QString> CSoakAnswers::AskName(const QString&, const QString&, const QString& name)
{
    if (m_c.random.Chance(0.08))
        return std::nullopt;
    // Names the file format must keep as typed: empty, blank, outside
    // Windows-1252, long, and the preset one.
    static const QStringList names = {
        QStringLiteral("Floor"),       QStringLiteral("Wall"),        QStringLiteral("Counter top"),
        QString(),                     QStringLiteral("  "),          QStringLiteral("Küche €"),
        QStringLiteral("床 / 壁"),     QStringLiteral("a\"b\\c"),     QString(300, QLatin1Char('x')),
        name,
    };
    return m_c.random.Pick(names);
}

IDocumentPrompts::Answer CSoakAnswers::Ask(const QString&, bool withCancel)
{
    const int roll = m_c.random.Int(0, 9);
    if (!withCancel)
        return roll < 7 ? Answer::Yes : Answer::No;
    return roll < 2 ? Answer::Yes : roll < 8 ? Answer::No : Answer::Cancel;
}

std::optional<QString> CSoakAnswers::AskOpenFileName(const QString& filter, const QString&)
{
    if (m_c.random.Chance(0.1))
        return std::nullopt;
    if (filter == Messages::kTemplateFilter)
        return m_saved.isEmpty() ? std::nullopt : std::optional<QString>(m_c.random.Pick(m_saved));
    if (m_c.random.Chance(0.2))
        return m_c.random.Pick(m_c.files.badPictures);
    return m_c.random.Pick(m_c.files.pictures);
}

std::optional<QString> CSoakAnswers::AskSaveFileName(const QString&, const QString& defaultExt)
{
    const int roll = m_c.random.Int(0, 9);
    if (roll == 0)
        return std::nullopt;
    if (roll == 1)
        return QDir(m_c.files.missingFolder).filePath(QStringLiteral("lost") + defaultExt);
    const QString name = QStringLiteral("walk%1%2").arg(++m_nSaves).arg(defaultExt);
    const QString path = QDir(m_c.files.saveFolder).filePath(name);
    m_saved << path;
    return path;
}

void CSoakAnswers::ShowError(const QString& message)
{
    m_errors << message;
}

QStringList CSoakAnswers::TakeErrors()
{
    return std::exchange(m_errors, {});
}
