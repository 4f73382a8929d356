#pragma once

#include "document/Area.h"
#include "document/IAreasPanelSink.h"
#include "document/IDocumentView.h"

#include <QDockWidget>
#include <QPointer>

#include <functional>
#include <map>
#include <optional>

class CAreasBarControls;
class CTilemontDoc;
class IAreaEditSession;
class IDocumentPrompts;
struct CThumbnailNotification;

// The "Areas" tool window: lists the areas of the template whose view last
// took the keyboard focus, and edits the picked area's texture — rotation,
// shift, scale, the texture from a group's swatches, and the skew and
// initial-rectangle handles. Every edit is a step in the document's history;
// the panel holds the picked area by its identity and shows what undo and
// redo make of it.
class CAreasBar : public QDockWidget, public IAreasPanelSink, private IDocumentView
{
    Q_OBJECT

public:
    static constexpr double kMaxRotation = 360.0;
    static constexpr int kMaxShift = 32767;
    static constexpr double kMaxScale = 10000.0;
    static constexpr int kCellWidth = 100;
    static constexpr int kCellHeight = 75;

    // texturesFolder holds the texture groups, one subfolder each.
    CAreasBar(IDocumentPrompts& prompts, const QString& texturesFolder, QWidget* parent = nullptr);
    ~CAreasBar() override;

    // Shows the areas of doc (none: an empty list). Without force nothing
    // happens for the document shown already; a null view with a document
    // keeps the view held when it shows that document.
    void UpdateFromDocument(CTilemontDoc* doc, IDocumentView* view, bool force);

    // IAreasPanelSink
    void NotifyAreasPanel(CTilemontDoc* doc, IDocumentView* view, bool force) override;
    void DocumentDestroyed(CTilemontDoc* doc) override;

    CTilemontDoc* Document() const { return m_pDoc; }
    // The window whose editing session the panel steers, if any.
    QWidget* View() const;
    int SelectedIndex() const;
    AreaId SelectedAreaId() const { return m_nPicked; }
    CAreasBarControls& Controls() const { return *m_pControls; }

    // Reads the list's pick and every field, in order, stopping with a
    // message at the first field that is no number or out of range. A number
    // out of range is kept in the panel's state all the same.
    bool ReadControls();
    // Puts the panel's state into the fields; a field that reads as its
    // value already is left alone. Never applies anything to the area.
    void WriteControls();

    // What the panel's state is now (rotation, shift, scale, check boxes).
    bool IsPerspective() const { return m_bPerspective; }
    double Rotation() const { return m_dRotation; }
    int ShiftX() const { return m_nShiftX; }
    int ShiftY() const { return m_nShiftY; }
    double Scale() const { return m_dScale; }
    int ShadingStrength() const { return m_nShading; }

    // The control handlers, run by the controls' signals.
    void OnSelChangeAreaList();
    void OnChangeRotation();
    void OnChangeShift(bool x);
    void OnChangeScale();
    void OnSelChangeGroup();
    void OnTextureNotify(const CThumbnailNotification& notification);
    void OnSkew();
    void OnSkewPreview();
    void OnPerspective();
    void OnShadingStrength();
    void OnResetSkew();
    void OnInitialRect();
    void OnResetInitialRect();
    // One step that puts the picked area's corners or rectangle back.
    void ResetPicked(const QString& step, void (CArea::*reset)());
    void OnEnter();
    // After a step that laid new corners into doc's area id (a fit): when
    // the panel shows that area in a window, its "Skew" box comes on as a
    // click on it brings it on, so the window shows the corners' handles
    // and grid for the user to check and drag.
    void EditSkewOf(const CTilemontDoc& doc, AreaId id);

    // Where the texture laid in from a swatch learns its real width: the
    // file's remembered width in centimetres, or nothing when unknown. The
    // editor sets it; without it no width is known.
    using TextureWidthSource = std::function<std::optional<double>(const QString& path)>;
    void SetTextureWidthSource(TextureWidthSource source) { m_textureWidth = std::move(source); }
    // The texture file the panel last laid into the area in this session,
    // or empty: a template stores pixels, not where they came from.
    QString TexturePathOf(AreaId id) const
    {
        const auto it = m_laidPaths.find(id);
        return it != m_laidPaths.end() ? it->second : QString();
    }
    // The remembered real width of the swatch picked now, if known.
    std::optional<double> FocusedTextureWidth() const;
    QString FocusedTexturePath() const;

signals:
    // "Fit Perspective" and "Real Size..." for the picked area of the shown
    // document; the main window runs them, as it does the menu commands.
    void fitPerspectiveRequested();
    void realSizeRequested();
    // "Pattern..." was pressed for the picked area.
    void patternRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Field { None, Rotation, ShiftX, ShiftY, Scale };
    struct ReadResult
    {
        Field failed = Field::None;
        bool outOfRange = false;
    };
    ReadResult Read();

    // IDocumentView: the shown document changed.
    void OnUpdate() override {}
    void OnDocumentChanged(const CDocChange& change) override;

    void FillGroups();
    void ShowDocument(CTilemontDoc* doc);
    const CArea* PickedArea() const;
    // The picked area when there are a document and a view, else null.
    const CArea* PickedAreaWithView() const;
    void LinkSession(IAreaEditSession* session);
    IAreaEditSession* Session() const;
    void LoadFromArea(const CArea& area);
    void ApplyEdit(const QString& step, int mergeKey, const std::function<void(CArea&)>& edit);
    void RepaintView();
    void ConnectControls();
    // The picked area lost the corners its Skew mode edits (an undo): the
    // mode ends without making new ones.
    void LeaveSkewWithoutCorners();
    // Enter and Escape: hides the panel, leaving the keyboard with its view.
    void HideToView();

    IDocumentPrompts& m_prompts;
    QString m_strTexturesFolder;
    CAreasBarControls* m_pControls;
    CTilemontDoc* m_pDoc = nullptr;
    IAreaEditSession* m_pSession = nullptr;
    QPointer<QWidget> m_pWindow;
    AreaId m_nPicked = 0;
    double m_dRotation = 0.0;
    int m_nShiftX = 0;
    int m_nShiftY = 0;
    double m_dScale = 1.0;
    bool m_bSkew = false;
    bool m_bSkewPreview = false;
    bool m_bPerspective = false;
    int m_nShading = CArea::kDefaultShading;
    bool m_bInitialRect = false;
    TextureWidthSource m_textureWidth;
    std::map<AreaId, QString> m_laidPaths;
    // Set while the panel writes its own fields: their change handlers then
    // apply nothing.
    bool m_bWriting = false;
    // The next field edit starts a new step instead of joining the last.
    bool m_bNewRun = true;
};
