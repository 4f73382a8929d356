#pragma once

#include <QString>

#include <utility>

// A fixed text the user sees, held as written (in English) with the
// context it is translated in; the literal is marked with QT_TRANSLATE_NOOP
// where it is declared, so the translation tools find it. It becomes a
// QString only where it is shown or built into a sentence, through
// QCoreApplication::translate: the editor then says it in the language of
// the translators it installed, and where none is installed (the
// command-line tool) it stays exactly as written.
class CUiText
{
public:
    constexpr CUiText(const char* context, const char* source) : m_context(context), m_source(source) {}

    QString Translated() const;
    operator QString() const { return Translated(); }

    // The translated text with its %1, %2... filled in, as QString::arg.
    template <typename... Args>
    QString arg(Args&&... args) const
    {
        return Translated().arg(std::forward<Args>(args)...);
    }

    // A sentence that counts something, as tr(source, nullptr, n) hands it
    // out: "%n image(s) written to %1.". A translation gives the language's
    // own plural forms; where none is installed the English ones are made
    // from the source here, "(s)" dropped for one and "s" for any other
    // number, so the English reads as it always did.
    static QString Counted(const QString& text, int n);

private:
    const char* m_context;
    const char* m_source;
};
