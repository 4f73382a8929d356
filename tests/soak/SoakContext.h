#pragma once

#include "SoakRandom.h"

#include <QPointer>
#include <QString>
#include <QStringList>

class CAreasBar;
class CChildFrame;
class CDocumentTarget;
class CMainFrame;
class CTilemontApp;
class CTilemontDoc;
class CTilemontView;
class ScriptedPrompts;

// What every part of the walk works on: the running editor, its scripted
// answers, the walk's chance and the files it offers the editor.
class CSoakContext
{
public:
    struct Files
    {
        // Pictures that decode, then the ones that do not (a damaged file and
        // a missing one).
        QStringList pictures;
        QStringList badPictures;
        // Where "Save As" puts templates; a folder that is not there.
        QString saveFolder;
        QString missingFolder;
    };

    CSoakContext(CTilemontApp& app, ScriptedPrompts& prompts, std::uint64_t seed, Files files);

    CTilemontApp& app;
    ScriptedPrompts& prompts;
    CSoakRandom random;
    const Files files;
    // The template the walk started on: its last window never closes.
    QPointer<CDocumentTarget> mainDocument;
    // Set while an event undoes or redoes: only then may a history move
    // its position over steps it keeps.
    bool historyMoves = false;

    CMainFrame& Frame() const;
    // The template window in front and what it shows; null without one.
    CChildFrame* Child() const;
    CTilemontView* View() const;
    CTilemontDoc* Doc() const;
    CAreasBar* Panel() const;

    // Runs a command as its menu item or button would: only when enabled.
    // False when it was disabled.
    bool Trigger(int id);
    // Lets the editor catch up: queued calls, repaints, closed windows.
    void Settle();
};
