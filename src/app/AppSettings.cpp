#include "AppSettings.h"

#include <QSettings>

namespace {

// One table for reading and writing keeps the two in the same order and
// with the same names.
template <typename Settings, typename Visit>
void ForEachValue(Settings& s, Visit&& visit)
{
    visit("TemplatesFolder", s.strTemplatesFolder);
    visit("TexturesFolder", s.strTexturesFolder);
    visit("LithavensFolder", s.strLithavensFolder);
    visit("ExportFolder", s.strExportFolder);
    visit(AppSettings::kShowBannerKey, s.bShowBanner);
    visit(AppSettings::kKeepShadingKey, s.bKeepShading);
    visit(AppSettings::kPerspectiveGridKey, s.bPerspectiveGrid);
    visit(AppSettings::kWandToleranceKey, s.nWandTolerance);
    visit(AppSettings::kWandContiguousKey, s.bWandContiguous);
    visit(AppSettings::kWandMinSpeckKey, s.nWandMinSpeck);
}

struct Reader
{
    QSettings& settings;
    void operator()(const char* key, QString& value) const
    {
        value = settings.value(QLatin1String(key), value).toString();
    }
    void operator()(const char* key, int& value) const
    {
        bool ok = false;
        const int read = settings.value(QLatin1String(key), value).toInt(&ok);
        // A value that is not a number reads as the default, as a missing one does.
        if (ok)
            value = read;
    }
    void operator()(const char* key, bool& value) const
    {
        const QVariant read = settings.value(QLatin1String(key));
        // Anything but a boolean, or its spelling in a text store, keeps the default.
        const QString text = read.toString();
        if (read.typeId() == QMetaType::Bool || text == QLatin1String("true") || text == QLatin1String("false"))
            value = read.toBool();
    }
};

struct Writer
{
    QSettings& settings;
    void operator()(const char* key, const QString& value) const
    {
        settings.setValue(QLatin1String(key), value);
    }
    void operator()(const char* key, int value) const { settings.setValue(QLatin1String(key), value); }
    void operator()(const char* key, bool value) const { settings.setValue(QLatin1String(key), value); }
};

} // namespace

void AppSettings::Read(QSettings& settings)
{
    ForEachValue(*this, Reader{settings});
}

void AppSettings::Write(QSettings& settings) const
{
    ForEachValue(*this, Writer{settings});
    for (const char* key : {"Address", "Folder", "Login", "Password", "Port", "AddressT", "FolderT", "LoginT",
                            "PasswordT", "PortT", "AddressD", "FolderD", "LoginD", "PasswordD", "PortD",
                            "ProxyAddress", "ProxyPort", "UseProxy"})
        settings.remove(QLatin1String(key));
}
