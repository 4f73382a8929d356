#include "document/IAreaEditSession.h"
#include "document/IDocumentView.h"
#include "document/ScriptedPrompts.h"
#include "document/TilemontDoc.h"
#include "panels/AreaListBox.h"
#include "panels/AreasBar.h"
#include "panels/AreasBarControls.h"

#include <QCheckBox>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

// An editing session that only writes down what the panel asks of it, in a
// window that is a bare widget: the panel must get by with the interface.
class CRecordingSession : public IAreaEditSession, public IDocumentView
{
public:
    explicit CRecordingSession(CTilemontDoc& doc) : m_doc(doc), m_window(std::make_unique<QWidget>()) {}

    CTilemontDoc& EditedDocument() const override { return m_doc; }
    QWidget* Window() override { return m_window.get(); }
    void PickArea(AreaId id) override { calls << QStringLiteral("pick %1").arg(id); }
    void SetSkewMode(bool on, AreaId id) override { calls << QStringLiteral("skew mode %1 %2").arg(on).arg(id); }
    void SetInitialRectMode(bool on, AreaId id) override
    {
        calls << QStringLiteral("rect mode %1 %2").arg(on).arg(id);
    }
    void SetSkewEditing(AreaId id, bool edit, bool preview) override
    {
        calls << QStringLiteral("flags %1 %2 %3").arg(id).arg(edit).arg(preview);
        m_editing[id] = CSkewEditing{edit, preview};
    }
    CSkewEditing SkewEditing(AreaId id) const override
    {
        const auto it = m_editing.find(id);
        return it == m_editing.end() ? CSkewEditing() : it->second;
    }
    void RefreshSkewHandles() override {}
    void RefreshInitialRectHandles() override {}
    void RepaintAll() override {}

    void OnUpdate() override {}
    IAreaEditSession* EditSession() override { return this; }

    void CloseWindow() { m_window.reset(); }

    QStringList calls;

private:
    CTilemontDoc& m_doc;
    std::unique_ptr<QWidget> m_window;
    std::map<AreaId, CSkewEditing> m_editing;
};

CPolygon Square(int x)
{
    return CPolygon{{{{double(x), 10.0}, {x + 40.0, 10.0}, {x + 40.0, 50.0}, {double(x), 50.0}}}};
}

} // namespace

TEST(AreaEditSession, ThePanelSteersPicksModesAndFlagsThroughTheSessionAndLetsGoWhenItsWindowCloses)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("textures/stone")));
    ScriptedPrompts prompts;
    CTilemontDoc doc{prompts};
    for (int x : {10, 60}) {
        CArea area;
        const CPolygon outline = Square(x);
        area.SetOutline(&outline);
        doc.AddArea(std::move(area), QStringLiteral("add"));
    }
    CAreasBar panel(prompts, tmp.path() + QStringLiteral("/textures/"));
    CRecordingSession session(doc);
    panel.UpdateFromDocument(&doc, &session, true);
    EXPECT_EQ(panel.View(), session.Window());
    const AreaId first = doc.AreaIdAt(0);
    const AreaId second = doc.AreaIdAt(1);
    CAreasBarControls& c = panel.Controls();

    c.areaList->setCurrentRow(0);
    c.skew->click();
    c.skewPreview->click();
    c.areaList->setCurrentRow(1);
    c.skew->click();
    c.skew->click();
    c.initialRect->click();
    const QStringList expected{
        QStringLiteral("pick %1").arg(first),
        QStringLiteral("flags %1 1 0").arg(first),
        QStringLiteral("skew mode 1 %1").arg(first),
        QStringLiteral("flags %1 1 1").arg(first),
        // The area left behind stops skew editing before the next is picked.
        QStringLiteral("flags %1 0 0").arg(first),
        QStringLiteral("pick %1").arg(second),
        QStringLiteral("flags %1 1 0").arg(second),
        QStringLiteral("skew mode 1 %1").arg(second),
        QStringLiteral("flags %1 0 0").arg(second),
        QStringLiteral("skew mode 0 %1").arg(second),
        QStringLiteral("rect mode 1 %1").arg(second),
    };
    EXPECT_EQ(session.calls, expected);
    EXPECT_EQ(session.SkewEditing(first), CSkewEditing());

    session.calls.clear();
    session.CloseWindow();
    EXPECT_EQ(panel.View(), nullptr);
    c.areaList->setCurrentRow(0);
    c.skew->click();
    EXPECT_TRUE(session.calls.isEmpty()) << "a closed window's session is not asked again";
    EXPECT_FALSE(session.SkewEditing(first).edit);
}
