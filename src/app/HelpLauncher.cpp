#include "HelpLauncher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QTextBrowser>
#include <algorithm>

// The guide is compiled into the GUI library, a static library: naming its
// resources here keeps the linker from dropping them.
static void InitHelpResources()
{
    Q_INIT_RESOURCE(tilemont);
}

const QUrl CHelpLauncher::kGuideUrl = QUrl(QStringLiteral("qrc:/help/index.html"));
// The guide on disk goes by the built-in guide's own name, so a copy of the
// guide (one the browser was given, or an edited one) is found as it lies.
const QString CHelpLauncher::kHelpFileName = CHelpLauncher::kGuideUrl.path().mid(1);

CHelpLauncher::CHelpLauncher(QWidget* owner)
    : m_pOwner(owner), m_opener([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    InitHelpResources();
}

CHelpLauncher::~CHelpLauncher()
{
    delete m_pGuide;
}

const QString CHelpLauncher::kInstalledHelpFolder = QStringLiteral("../share/tilemont");

QString CHelpLauncher::HelpFilePath(const QString& programFolder)
{
    const QFileInfo file(QDir::current().filePath(kHelpFileName));
    if (file.isFile())
        return file.absoluteFilePath();
    if (programFolder.isEmpty())
        return QString();
    const QFileInfo installed(QDir(programFolder).filePath(kInstalledHelpFolder + QLatin1Char('/') + kHelpFileName));
    return installed.isFile() ? QDir::cleanPath(installed.absoluteFilePath()) : QString();
}

QTextBrowser* CHelpLauncher::GuideWindow() const
{
    return m_pGuide;
}

void CHelpLauncher::Open()
{
    const QString file = HelpFilePath();
    // Whether the desktop can show the file is its own business; the guide
    // stands in only when there is no file at all.
    if (!file.isEmpty())
        m_opener(QUrl::fromLocalFile(file));
    else
        ShowGuide();
}

void CHelpLauncher::ShowGuide()
{
    if (!m_pGuide) {
        // A window of its own that closes with the main window but does not
        // keep the program running.
        m_pGuide = new QTextBrowser(m_pOwner);
        m_pGuide->setWindowFlags(Qt::Window);
        m_pGuide->setAttribute(Qt::WA_DeleteOnClose);
        m_pGuide->setWindowTitle(QCoreApplication::translate("CHelpLauncher", "Tilemont Help"));
        m_pGuide->setOpenExternalLinks(true);
        m_pGuide->setSource(kGuideUrl);
        PlaceOnScreen();
    }
    m_pGuide->show();
    m_pGuide->raise();
    m_pGuide->activateWindow();
}

void CHelpLauncher::PlaceOnScreen()
{
    // A tall page is easiest to read tall, but the whole window, frame and
    // all, must fit the screen the editor is on, beside the editor when it can.
    const QScreen* screen = m_pOwner ? m_pOwner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect avail = screen->availableGeometry();
    // The frame's decorations are not known before the window is shown.
    constexpr int kFrameAllowance = 40;
    const QSize size(std::min(640, avail.width() - kFrameAllowance), std::min(720, avail.height() - kFrameAllowance));
    m_pGuide->resize(size.expandedTo(QSize(200, 150)));
    QRect placed(QPoint(0, 0), m_pGuide->size() + QSize(kFrameAllowance / 2, kFrameAllowance));
    const QRect owner = m_pOwner ? m_pOwner->frameGeometry() : avail;
    placed.moveCenter(owner.center());
    placed.moveLeft(std::clamp(placed.left(), avail.left(), std::max(avail.left(), avail.right() - placed.width())));
    placed.moveTop(std::clamp(placed.top(), avail.top(), std::max(avail.top(), avail.bottom() - placed.height())));
    m_pGuide->move(placed.topLeft());
}

void CHelpLauncher::OpenGuideInBrowser(const QString& guideFolder)
{
    const QString folder = guideFolder.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/guide")
        : guideFolder;
    const QString source = QStringLiteral(":/help");
    bool copied = QDir().mkpath(folder);
    // Copied afresh each time so a guide from an older version never shows.
    for (QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories); copied && it.hasNext();) {
        const QString from = it.next();
        const QString to = folder + from.mid(source.size());
        QDir().mkpath(QFileInfo(to).path());
        QFile::remove(to);
        copied = QFile::copy(from, to);
        // Resource files come out read-only; the next copy must replace them.
        QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    const QString index = folder + QStringLiteral("/index.html");
    if (!copied || !QFileInfo(index).isFile() || !m_opener(QUrl::fromLocalFile(index)))
        ShowGuide();
}
