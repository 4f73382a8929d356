#pragma once

#include <QString>

class QSettings;

// The per-user values the editor keeps: the folders where templates,
// textures and exports live, each held with a trailing separator, and the
// view's and the wand's switches.
struct AppSettings
{
    QString strTemplatesFolder;
    QString strTexturesFolder;
    QString strLithavensFolder;
    QString strExportFolder;
    bool bShowBanner = true;
    bool bKeepShading = false;
    bool bPerspectiveGrid = false;
    // The magic wand's options, as its Tool Options bar shows them.
    int nWandTolerance = 32;
    bool bWandContiguous = true;
    int nWandMinSpeck = 16;

    // Kept in a group of their own; also written alone, the moment they change.
    static constexpr const char* kShowBannerKey = "Settings/ShowBanner";
    static constexpr const char* kKeepShadingKey = "Settings/KeepShading";
    static constexpr const char* kPerspectiveGridKey = "Settings/PerspectiveGrid";
    static constexpr const char* kWandToleranceKey = "Settings/WandTolerance";
    static constexpr const char* kWandContiguousKey = "Settings/WandContiguous";
    static constexpr const char* kWandMinSpeckKey = "Settings/WandIgnoreSpecksUnder";

    // Reads every value from the top level of settings, keeping the current
    // one where a value is missing.
    void Read(QSettings& settings);
    // Writes every value: strings as strings, numbers as integers, the switches as booleans.
    // Removes the account and proxy values earlier versions carried without
    // using them: a password has no place in a plain-text settings file.
    void Write(QSettings& settings) const;
};
