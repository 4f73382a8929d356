#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

// Puts the editor into the user's language at start-up: its own texts from
// "tilemont_<language>.qm" and Qt's (the standard dialogs, the buttons of
// message boxes, key names) from Qt's "qtbase_<language>.qm". A language
// without a translation, or a file that is missing or damaged, leaves the
// texts in English without a word: the editor works the same either way.
// The translators stay installed for as long as the loader lives.
class CTranslationLoader
{
public:
    // Where the editor's own translations are looked for, first found wins:
    // beside an installed editor (bin/../share/tilemont/translations), then
    // in the build tree the editor was started from (src/../translations).
    static QStringList Folders(const QString& applicationDir);

    // Loads and installs what there is for locale; the result tells whether
    // the editor's own translation was found.
    bool Install(const QLocale& locale, const QStringList& folders, const QString& qtFolder);

private:
    QTranslator m_own;
    QTranslator m_qt;
};
