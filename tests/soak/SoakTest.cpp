#include "CommandEvents.h"
#include "PaintCheck.h"
#include "QuietNotices.h"
#include "SoakAnswers.h"
#include "SoakContext.h"
#include "SoakWalker.h"
#include "SoakWatchdog.h"
#include "StateTrail.h"
#include "TemplateValues.h"
#include "app/AppTestSupport.h"
#include "app/ResourceIds.h"
#include "panels/AreaListBox.h"
#include "panels/AreasBar.h"
#include "panels/AreasBarControls.h"
#include "view/TilemontView.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLinearGradient>
#include <QMdiArea>
#include <QPainter>
#include <QProcess>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTest>

#include <deque>
#include <iostream>
#include <random>

namespace {

std::uint64_t Seed()
{
    bool ok = false;
    const std::uint64_t seed = qEnvironmentVariable("TILEMONT_SOAK_SEED").toULongLong(&ok);
    return ok ? seed : (std::uint64_t(std::random_device{}()) << 32) ^ std::random_device{}();
}

int EventCount()
{
    bool ok = false;
    const int events = qEnvironmentVariableIntValue("TILEMONT_SOAK_EVENTS", &ok);
    return ok && events > 0 ? events : 10000;
}

// Smooth shading with a few hard edges: what a JPEG round trip changes.
// Colours may be translucent.
QImage Pattern(QSize size, QRgb from, QRgb to)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QLinearGradient shade(0, 0, size.width(), size.height());
    shade.setColorAt(0, QColor::fromRgba(from));
    shade.setColorAt(1, QColor::fromRgba(to));
    painter.fillRect(image.rect(), shade);
    painter.setPen(QPen(Qt::black, 2));
    for (int x = 0; x < size.width(); x += 23)
        painter.drawLine(x, 0, size.width() - x, size.height());
    return image;
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::string Lines(const std::deque<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "  " + line + "\n";
    return text;
}

// Placement as the command-line tool and the template report it, one area a
// line.
std::string Placements(const QJsonArray& areas)
{
    QStringList placements;
    for (const QJsonValue& value : areas) {
        const QJsonObject a = value.toObject();
        placements << QStringLiteral("%1 | %2 %3 %4 %5")
                          .arg(a["name"].toString())
                          .arg(a["rotation"].toDouble())
                          .arg(a["shiftX"].toInt())
                          .arg(a["shiftY"].toInt())
                          .arg(a["scale"].toDouble());
    }
    return placements.join(u'\n').toStdString();
}

std::string Placements(const std::vector<CArea>& areas)
{
    QStringList placements;
    for (const CArea& a : areas)
        placements << QStringLiteral("%1 | %2 %3 %4 %5")
                          .arg(a.GetName())
                          .arg(a.GetRotation())
                          .arg(a.GetShiftX())
                          .arg(a.GetShiftY())
                          .arg(a.GetScale());
    return placements.join(u'\n').toStdString();
}

} // namespace

// The editor driven by a long seeded random walk of the user's events, with
// every template's history followed as it goes.
class SoakTest : public AppTest
{
protected:
    // Pictures good and bad for Select picture, and texture groups with a
    // damaged file, a file that is no picture and an empty group.
    CSoakContext::Files MakeFiles()
    {
        CSoakContext::Files files;
        const QDir root(TempPath(QString()));
        EXPECT_TRUE(root.mkpath(QStringLiteral("pictures")) && root.mkpath(QStringLiteral("saves")));
        // Small, to keep the walk quick, and some of odd shape and format:
        // a single pixel, a one-pixel strip, a palette and transparency.
        const struct
        {
            const char* name;
            QSize size;
            QImage::Format format;
        } pictures[] = {{"room.png", {300, 200}, QImage::Format_RGB32},
                        {"hall.jpg", {240, 260}, QImage::Format_RGB32},
                        {"yard.png", {320, 180}, QImage::Format_ARGB32},
                        {"dot.png", {1, 1}, QImage::Format_RGB32},
                        {"strip.png", {300, 1}, QImage::Format_Grayscale8},
                        {"map.png", {200, 150}, QImage::Format_Indexed8}};
        for (const auto& [name, size, format] : pictures) {
            files.pictures << TempPath(QStringLiteral("pictures/") + QLatin1String(name));
            const QImage picture = Pattern(size, 0x808090A0, 0xFF304050).convertToFormat(format);
            EXPECT_TRUE(picture.save(files.pictures.last()));
        }
        files.badPictures = {TempPath(QStringLiteral("pictures/torn.jpg")),
                             TempPath(QStringLiteral("pictures/gone.png"))};
        WriteBytes(files.badPictures[0], QByteArray("\xFF\xD8\xFF\xE0 torn off here", 18));
        files.saveFolder = TempPath(QStringLiteral("saves"));
        files.missingFolder = TempPath(QStringLiteral("no such folder"));

        const QDir textures(StartFolder() + QStringLiteral("/textures"));
        for (const char* group : {"stone", "wood", "empty"})
            EXPECT_TRUE(textures.mkpath(QLatin1String(group)));
        EXPECT_TRUE(Pattern({24, 24}, 0xFF707070, 0xFFB0B0A0).save(textures.filePath("stone/slate.png")));
        EXPECT_TRUE(Pattern({32, 20}, 0xFF906050, 0xFFD0A080).save(textures.filePath("stone/granite.jpg")));
        WriteBytes(textures.filePath("stone/crumbled.jpg"), QByteArray("\xFF\xD8\xFF\xDB not a JPEG", 15));
        EXPECT_TRUE(Pattern({16, 40}, 0xFF604020, 0xFFA07040).save(textures.filePath("wood/oak.png")));
        EXPECT_TRUE(Pattern({20, 20}, 0xFF402010, 0xFF805030).save(textures.filePath("wood/walnut.bmp")));
        WriteBytes(textures.filePath("wood/notes.txt"), "grain runs left to right\n");
        EXPECT_TRUE(Pattern({1, 1}, 0xFFFFFFFF, 0xFFFFFFFF).save(textures.filePath("wood/knot.png")));
        EXPECT_TRUE(Pattern({40, 30}, 0x40204080, 0xC0A0C0E0).save(textures.filePath("stone/glass.png")));
        EXPECT_TRUE(Pattern({18, 18}, 0xFF305030, 0xFF90C090)
                        .convertToFormat(QImage::Format_Indexed8)
                        .save(textures.filePath("stone/moss.png")));
        return files;
    }

    // A trail for every open template; each checks its template now.
    void FollowTrails(CSoakContext& context)
    {
        std::erase_if(trails, [](const auto& trail) { return !trail->IsAlive(); });
        for (CDocumentTarget* doc : App().Documents()) {
            if (std::none_of(trails.begin(), trails.end(), [doc](const auto& t) { return t->Target() == doc; }))
                trails.push_back(std::make_unique<CStateTrail>(*doc, context.historyMoves));
        }
        for (const auto& trail : trails)
            trail->CheckSettled();
    }

    QString TrailFailure() const
    {
        for (const auto& trail : trails)
            if (!trail->Failure().isEmpty())
                return trail->Failure();
        return QString();
    }

    // The Areas panel lists the areas of the template it shows, in order.
    static QString PanelFault(const CSoakContext& context)
    {
        const CAreasBar* panel = context.Panel();
        const CAreaListBox* list = panel->Controls().areaList;
        QStringList listed, held;
        for (int row = 0; row < list->count(); ++row)
            listed << list->item(row)->text();
        if (const CTilemontDoc* doc = panel->Document())
            for (const CArea& area : doc->GetAreas())
                held << area.GetName();
        if (listed == held)
            return QString();
        return QStringLiteral("the Areas panel lists %1 areas [%2], the template it shows holds %3 [%4]")
            .arg(listed.size())
            .arg(listed.join(u'|').left(200))
            .arg(held.size())
            .arg(held.join(u'|').left(200));
    }

    CStateTrail& TrailOf(CDocumentTarget* doc)
    {
        const auto it = std::find_if(trails.begin(), trails.end(), [doc](const auto& t) { return t->Target() == doc; });
        return **it;
    }

    // Undoes every step the history keeps through Edit > Undo, redoes them
    // all, and goes back to where the walk left the template. Returns the
    // template as it was before the oldest step.
    CStateTrail::State UndoAndRedoEverything(CSoakContext& context, CStateTrail& trail)
    {
        Frame().MdiArea()->setActiveSubWindow(trail.Target()->OpenFrames().front());
        const CHistory& history = trail.Doc().GetHistory();
        const int at = history.Index(), count = history.Count();
        const CStateTrail::State last = CStateTrail::Capture(trail.Doc());
        const QScopedValueRollback moving(context.historyMoves, true);

        while (context.Trigger(ID_EDIT_UNDO)) {
        }
        const CStateTrail::State first = CStateTrail::Capture(trail.Doc());
        EXPECT_EQ(history.Index(), 0);
        EXPECT_TRUE(trail.At(0).has_value());
        if (trail.At(0)) {
            EXPECT_EQ(first, *trail.At(0));
        }

        while (context.Trigger(ID_EDIT_REDO)) {
        }
        EXPECT_EQ(history.Index(), count);
        if (trail.At(count)) {
            EXPECT_EQ(CStateTrail::Capture(trail.Doc()), *trail.At(count));
        }
        for (int i = count; i > at; --i)
            context.Trigger(ID_EDIT_UNDO);
        EXPECT_EQ(CStateTrail::Capture(trail.Doc()), last);
        return first;
    }

    std::vector<std::unique_ptr<CStateTrail>> trails;

private:
    // From before the editor starts until after it is gone.
    const CQuietNotices m_quiet;
};

TEST_F(SoakTest, RandomWalkKeepsEveryStepUndoableAndTheSavedTemplateReadable)
{
    const std::uint64_t seed = Seed();
    const int events = EventCount();
    const std::string replay =
        "replay: TILEMONT_SOAK_SEED=" + std::to_string(seed) + " TILEMONT_SOAK_EVENTS=" + std::to_string(events);
    std::cout << "[   SOAK   ] seed " << seed << ", " << events << " events; " << replay << std::endl;
    RecordProperty("seed", std::to_string(seed));

    const CSoakContext::Files files = MakeFiles();
    ASSERT_TRUE(Start());
    CSoakContext context(App(), prompts, seed, files);
    context.mainDocument = App().Documents().front();
    CSoakAnswers answers(context);
    prompts.fallback = &answers;
    CSoakWalker walker(context);
    App().SetExportDialogRunner([&walker](CExportDlg& dialog) { return walker.Commands().RunExportDialog(dialog); });
    // Nothing may reach the walk once it is gone, whichever way the test ends.
    const auto unhook = qScopeGuard([&] {
        trails.clear();
        prompts.fallback = nullptr;
        App().SetExportDialogRunner({});
    });
    const CStateTrail::State initial = CStateTrail::Capture(context.mainDocument->Doc());
    FollowTrails(context);

    const bool trace = qEnvironmentVariableIsSet("TILEMONT_SOAK_TRACE");
    // Every how many events the window's pixels are checked against a fresh
    // composition; off unless asked for, as partial repaints still leave a
    // few pixels behind in cases not yet mended (1 finds where one first
    // shows).
    const int paintCheckEvery = qEnvironmentVariableIntValue("TILEMONT_SOAK_PAINT_EVERY");
    std::deque<std::string> recent;
    CSoakWatchdog watchdog(std::chrono::seconds(120), replay);
    // The walk starts on a picture: most of what the editor does needs one.
    prompts.openFiles.push_back(files.pictures.front());
    context.Trigger(ID_SELECT_PICTURE);
    for (int event = 0; event < events; ++event) {
        watchdog.Beat("event " + std::to_string(event) + (recent.empty() ? "" : ", after " + recent.back()));
        QElapsedTimer clock;
        clock.start();
        const std::string what = std::to_string(event) + ": " + walker.Step().toStdString();
        if (trace && context.mainDocument) {
            const CHistory& history = context.mainDocument->Doc().GetHistory();
            std::cout << what << "  [" << history.Index() << "/" << history.Count() << " "
                      << history.UndoText().toStdString() << "] " << clock.elapsed() << " ms" << std::endl;
        }
        recent.push_back(what);
        if (recent.size() > 30)
            recent.pop_front();
        FollowTrails(context);
        QString failure = TrailFailure().isEmpty() ? PanelFault(context) : TrailFailure();
        // Asked for: does the window show what it should, every so many events?
        if (failure.isEmpty() && paintCheckEvery > 0 && event % paintCheckEvery == 0 && context.View())
            failure = CPaintCheck::StalePixels(
                *context.View(), QDir::temp().filePath(QStringLiteral("tilemont-soak-%1-%2").arg(seed).arg(event)));
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString() << "\n"
                                       << replay << "\nthe last events:\n"
                                       << Lines(recent);
    }

    // Undo and redo every step of every template still open.
    watchdog.Beat("undoing and redoing every step");
    if (CTilemontView* view = context.View())
        QTest::keyClick(view, Qt::Key_Escape);
    context.Settle();
    for (const auto& trail : trails) {
        SCOPED_TRACE(trail->Doc().GetTitle().toStdString() + "; " + replay);
        const CStateTrail::State first = UndoAndRedoEverything(context, *trail);
        if (trail->Target() == context.mainDocument && trail->Dropped() == 0) {
            EXPECT_EQ(first, initial) << "the walk's template";
        }
    }
    ASSERT_TRUE(TrailFailure().isEmpty()) << TrailFailure().toStdString() << "\n" << replay;

    // Saved and opened again, the template is what the file stores of it.
    watchdog.Beat("saving and reopening");
    CDocumentTarget* main = context.mainDocument;
    Frame().MdiArea()->setActiveSubWindow(main->OpenFrames().front());
    const CTemplateSnapshot walked = TemplateValues::Plain(main->Doc().Snapshot());
    const QByteArray walkedPictureJpeg = main->Doc().GetPictureJpeg();
    const QString path = TempPath(QStringLiteral("walked.tlm"));
    prompts.saveFiles = {path};
    ASSERT_TRUE(context.Trigger(ID_FILE_SAVE_AS));
    EXPECT_TRUE(prompts.saveFiles.empty());
    EXPECT_FALSE(main->Doc().IsModified());
    const qsizetype open = App().Documents().size();
    prompts.openFiles = {path};
    ASSERT_TRUE(context.Trigger(ID_FILE_OPEN));
    ASSERT_EQ(App().Documents().size(), open + 1) << answers.TakeErrors().join(u'\n').toStdString();
    const CTemplateSnapshot stored = TemplateValues::AsStored(walked, walkedPictureJpeg);
    const CTemplateSnapshot reopened = TemplateValues::Plain(App().Documents().back()->Doc().Snapshot());
    EXPECT_EQ(reopened, stored) << TemplateValues::Difference(stored, reopened).toStdString() << "\n" << replay;

    // The command-line tool reads the same file.
    QProcess cli;
    cli.start(QStringLiteral(TILEMONT_CLI), {QStringLiteral("info"), path});
    ASSERT_TRUE(cli.waitForFinished(120000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QJsonObject info = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    EXPECT_EQ(Placements(info["areas"].toArray()), Placements(walked.areas));
    std::cout << "[   SOAK   ] " << main->Doc().GetAreas().size() << " areas at the end, "
              << TrailOf(main).Dropped() << " oldest steps let go by the history" << std::endl;
}
