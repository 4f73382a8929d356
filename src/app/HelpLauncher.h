#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <functional>

class QTextBrowser;
class QWidget;

// "Help...": the guide "help/index.html" from the current folder when there
// is one, else the copy installed with the program, handed to the desktop;
// otherwise the user guide built into the program, in a window of its own.
class CHelpLauncher
{
public:
    using Opener = std::function<bool(const QUrl&)>;

    static const QUrl kGuideUrl;
    static const QString kHelpFileName;

    explicit CHelpLauncher(QWidget* owner);
    ~CHelpLauncher();

    // How a file is handed to the desktop; QDesktopServices by default.
    void SetExternalOpener(Opener opener) { m_opener = std::move(opener); }

    // Where an installed program keeps its guide: share/tilemont beside the
    // folder of the program (/usr/share/tilemont for /usr/bin/tilemont).
    static const QString kInstalledHelpFolder;

    // The help file in the current folder, else the guide installed with the
    // program in programFolder; empty when there is neither.
    static QString HelpFilePath(const QString& programFolder = QCoreApplication::applicationDirPath());

    void Open();
    // The guide built into the program, whether or not there is a help file.
    void ShowGuide();
    // The same guide in the user's browser: it is copied out of the program
    // into guideFolder (the user's cache when empty) for the browser to
    // reach; when that fails the guide shows in its own window instead.
    void OpenGuideInBrowser(const QString& guideFolder = QString());
    // The guide's window once shown, else null.
    QTextBrowser* GuideWindow() const;

private:
    // Sizes and moves the new guide window so that it lies wholly on screen.
    void PlaceOnScreen();

    QWidget* m_pOwner;
    Opener m_opener;
    QPointer<QTextBrowser> m_pGuide;
};
