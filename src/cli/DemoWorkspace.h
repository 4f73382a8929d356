#pragma once

#include <QString>

// Lays out a working folder for trying the editor: the templates, textures,
// lithavens and export folders, three texture groups drawn on the spot, a
// picture of a room and a template that textures its floor and back wall.
// Nothing is downloaded and nothing depends on the time or on chance, so
// every run writes the same bytes.
class CDemoWorkspace
{
public:
    struct Outcome
    {
        int written = 0; // files created by this run
        int kept = 0;    // files that were there already and stayed untouched
    };

    // The template, relative to the workspace folder.
    static QString TemplatePath() { return QStringLiteral("templates/demo.tlm"); }

    // Creates folder and whatever of the content is missing. Files that
    // exist are left alone, so the user's edits survive a second run and an
    // interrupted run can simply be repeated. The template is written last:
    // once it exists, the rest does too. Returns false, with the user's
    // message in error, on the first failure.
    static bool Create(const QString& folder, Outcome* outcome, QString* error);
};
