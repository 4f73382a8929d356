#pragma once

#include <QString>

class QSettings;

// The per-user values the editor keeps. The account and proxy values are
// only carried from one run to the next; the folders are where templates,
// textures and exports live, each held with a trailing separator.
struct AppSettings
{
    QString strAddress, strFolder, strLogin, strPassword;
    int nPort = 0;
    QString strAddressT, strFolderT, strLoginT, strPasswordT;
    int nPortT = 0;
    QString strAddressD, strFolderD, strLoginD, strPasswordD;
    int nPortD = 0;
    QString strProxyAddress;
    int nProxyPort = 0;
    int nUseProxy = 0;
    QString strTemplatesFolder;
    QString strTexturesFolder;
    QString strLithavensFolder;
    QString strExportFolder;
    bool bShowBanner = true;

    // Kept in a group of its own; also written alone, the moment it changes.
    static constexpr const char* kShowBannerKey = "Settings/ShowBanner";

    // Reads every value from the top level of settings, keeping the current
    // one where a value is missing.
    void Read(QSettings& settings);
    // Writes all 23 values: strings as strings, numbers as integers, the switch as a boolean.
    void Write(QSettings& settings) const;
};
