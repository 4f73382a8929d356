#pragma once

#include "app/ChildFrame.h"
#include "app/DocumentTarget.h"
#include "app/MainFrame.h"
#include "app/TilemontApp.h"
#include "document/ScriptedPrompts.h"
#include "document/TemplateFile.h"
#include "geometry/Polygon.h"

#include <QAction>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A settings format that keeps each value's type, as a registry does, so the
// tests can tell an integer from a string.
inline QSettings::Format TypedSettingsFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(
        QStringLiteral("typedsettings"),
        [](QIODevice& device, QSettings::SettingsMap& map) {
            QDataStream in(&device);
            in >> map;
            return in.status() == QDataStream::Ok;
        },
        [](QIODevice& device, const QSettings::SettingsMap& map) {
            QDataStream out(&device);
            out << map;
            return out.status() == QDataStream::Ok;
        });
    return format;
}

// Runs the editor in a fresh current folder with its own settings store and
// scripted answers to every question.
class AppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.isValid());
        m_oldCwd = QDir::currentPath();
        ASSERT_TRUE(QDir(m_tmp.path()).mkpath(QStringLiteral("StartFolder")));
        QDir::setCurrent(StartFolder());
        QSettings::setPath(TypedSettingsFormat(), QSettings::UserScope, m_tmp.path() + QStringLiteral("/store"));
    }

    void TearDown() override
    {
        m_app.reset();
        FlushDeletes();
        QDir::setCurrent(m_oldCwd);
    }

    QString StartFolder() const { return m_tmp.path() + QStringLiteral("/StartFolder"); }
    QString TempPath(const QString& name) const { return m_tmp.path() + QLatin1Char('/') + name; }

    std::unique_ptr<QSettings> Store() const
    {
        return std::make_unique<QSettings>(TypedSettingsFormat(), QSettings::UserScope,
                                           QStringLiteral("Test Maker"), QStringLiteral("Tilemont"));
    }

    bool Start(const QStringList& arguments = {})
    {
        m_app = std::make_unique<CTilemontApp>(&prompts, [this] { return Store(); });
        return m_app->InitInstance(arguments);
    }

    CTilemontApp& App() { return *m_app; }
    CMainFrame& Frame() { return *m_app->MainFrame(); }
    CTilemontDoc& ActiveDoc() { return Frame().ActiveChild()->Document().Doc(); }

    QAction* Action(int id)
    {
        Frame().UpdateCommandUI();
        return Frame().Action(id);
    }

    // Closed windows and their documents are deleted on the next event loop pass.
    static void FlushDeletes()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A template file holding a small picture; returns its path.
    QString WriteTemplate(const QString& name, QSize pictureSize = QSize(12, 8))
    {
        QImage picture(pictureSize, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        const QString path = TempPath(name);
        QString error;
        EXPECT_TRUE(SaveTemplateFile(path, &picture, {}, &error)) << error.toStdString();
        return path;
    }

    ScriptedPrompts prompts;

private:
    QTemporaryDir m_tmp;
    QString m_oldCwd;
    std::unique_ptr<CTilemontApp> m_app;
};

// Writes a template of one named area with its texture laid in; the path
// again, so that a test can open what it wrote in one line.
inline QString WriteOneAreaTemplate(const QString& path, const QImage& picture, const QString& name,
                                    const CPolygon& outline, const QImage& texture)
{
    CArea area;
    area.SetName(name);
    area.SetOutline(&outline);
    area.SetTexture(&texture);
    QString error;
    EXPECT_TRUE(SaveTemplateFile(path, &picture, {area}, &error)) << error.toStdString();
    return path;
}
