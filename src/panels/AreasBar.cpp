#include "AreasBar.h"

#include <QApplication>

#include "AreaListBox.h"
#include "AreasBarControls.h"
#include "PanelFields.h"
#include "PanelMessages.h"
#include "TextureBrowser.h"
#include "catalogue/ProductSidecar.h"
#include "catalogue/TextureCatalogue.h"
#include "controls/SpinButtons.h"
#include "document/IDocumentPrompts.h"
#include "document/PictureChoice.h"
#include "document/Messages.h"
#include "document/TilemontDoc.h"
#include "document/IAreaEditSession.h"
#include "render/AreaPattern.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSpinBox>

using PanelFields::Parse;

CAreasBar::CAreasBar(IDocumentPrompts& prompts, const QString& texturesFolder, QWidget* parent)
    : QDockWidget(tr("Areas"), parent), m_prompts(prompts), m_strTexturesFolder(texturesFolder)
{
    setObjectName(QStringLiteral("AreasPanel"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    m_pControls = new CAreasBarControls(this);
    setWidget(m_pControls);
    ConnectControls();
    FillGroups();
    WriteControls();
}

CAreasBar::~CAreasBar()
{
    ShowDocument(nullptr);
}

void CAreasBar::ConnectControls()
{
    CAreasBarControls& c = *m_pControls;
    connect(c.areaList, &QListWidget::itemSelectionChanged, this, &CAreasBar::OnSelChangeAreaList);
    connect(c.rotation, &QLineEdit::textChanged, this, &CAreasBar::OnChangeRotation);
    connect(c.shiftX, &QLineEdit::textChanged, this, [this] { OnChangeShift(true); });
    connect(c.shiftY, &QLineEdit::textChanged, this, [this] { OnChangeShift(false); });
    connect(c.scale, &QLineEdit::textChanged, this, &CAreasBar::OnChangeScale);
    connect(c.skew, &QCheckBox::clicked, this, &CAreasBar::OnSkew);
    connect(c.skewPreview, &QCheckBox::clicked, this, &CAreasBar::OnSkewPreview);
    connect(c.perspective, &QCheckBox::clicked, this, &CAreasBar::OnPerspective);
    connect(c.shading, &QSpinBox::valueChanged, this, &CAreasBar::OnShadingStrength);
    connect(c.fitPerspective, &QPushButton::clicked, this, [this] {
        Read();
        if (PickedAreaWithView())
            emit fitPerspectiveRequested();
    });
    connect(c.pattern, &QPushButton::clicked, this, [this] {
        Read();
        if (PickedAreaWithView())
            emit patternRequested();
    });
    connect(c.realSize, &QPushButton::clicked, this, [this] {
        Read();
        if (PickedAreaWithView())
            emit realSizeRequested();
    });
    connect(c.initialRect, &QCheckBox::clicked, this, &CAreasBar::OnInitialRect);
    connect(c.resetSkew, &QPushButton::clicked, this, &CAreasBar::OnResetSkew);
    connect(c.resetInitialRect, &QPushButton::clicked, this, &CAreasBar::OnResetInitialRect);
    connect(c.groups, &QComboBox::currentIndexChanged, this, &CAreasBar::OnSelChangeGroup);
    connect(c.browser, &CThumbnailList::notified, this, &CAreasBar::OnTextureNotify);
    connect(m_pControls, &CAreasBarControls::enterPressed, this, &CAreasBar::OnEnter);
    connect(m_pControls, &CAreasBarControls::escapePressed, this, &CAreasBar::HideToView);
    for (QLineEdit* edit : {c.rotation, c.shiftX, c.shiftY, c.scale})
        edit->installEventFilter(this);
}

bool CAreasBar::eventFilter(QObject* watched, QEvent* event)
{
    // Typing in a field after coming back to it is a new step.
    if (event->type() == QEvent::FocusIn)
        m_bNewRun = true;
    return QDockWidget::eventFilter(watched, event);
}

// --- Which document -----------------------------------------------------------

void CAreasBar::NotifyAreasPanel(CTilemontDoc* doc, IDocumentView* view, bool force)
{
    UpdateFromDocument(doc, view, force);
}

void CAreasBar::DocumentDestroyed(CTilemontDoc* doc)
{
    if (doc == m_pDoc)
        UpdateFromDocument(nullptr, nullptr, true);
}

void CAreasBar::UpdateFromDocument(CTilemontDoc* doc, IDocumentView* view, bool force)
{
    IAreaEditSession* session = view ? view->EditSession() : nullptr;
    if (!force && doc == m_pDoc) {
        // A template opened before its window existed was shown without a
        // view: its window taking the focus supplies it, without a refill.
        if (session && !Session())
            LinkSession(session);
        return;
    }
    if (session || !doc)
        LinkSession(session);
    else if (Session() && &Session()->EditedDocument() != doc)
        // A view of another template would take this one's edits.
        LinkSession(nullptr);
    ShowDocument(doc);

    QStringList names;
    if (m_pDoc)
        for (const CArea& area : m_pDoc->GetAreas())
            names << area.GetName();
    m_pControls->areaList->SetNames(names);
    FillGroups();

    m_nPicked = 0;
    m_dRotation = 0.0;
    m_nShiftX = m_nShiftY = 0;
    m_dScale = 1.0;
    m_bPerspective = false;
    m_nShading = CArea::kDefaultShading;
    m_bNewRun = true;
    WriteControls();
}

void CAreasBar::ShowDocument(CTilemontDoc* doc)
{
    if (doc == m_pDoc)
        return;
    if (m_pDoc)
        m_pDoc->RemoveObserver(this);
    m_pDoc = doc;
    if (m_pDoc)
        m_pDoc->AddObserver(this);
}

void CAreasBar::OnDocumentChanged(const CDocChange& change)
{
    // Undo, redo and the view's own edits of the picked area show in the
    // fields; the list itself is refilled when the document says so.
    if (change.kind == CDocChange::Kind::PictureChanged) {
        WriteControls();
        return;
    }
    if (change.kind != CDocChange::Kind::AreaChanged || change.area != m_nPicked)
        return;
    if (const CArea* area = PickedArea()) {
        LoadFromArea(*area);
        if (m_bSkew && !area->HasSkewCorners())
            LeaveSkewWithoutCorners();
        WriteControls();
    }
}

void CAreasBar::LeaveSkewWithoutCorners()
{
    // Bringing default corners back, as switching the mode does, would be a
    // step of its own and cut off the redo of the corners just undone.
    if (IAreaEditSession* session = Session()) {
        session->SetSkewEditing(m_nPicked, false, session->SkewEditing(m_nPicked).preview);
        session->SetSkewMode(false, m_nPicked);
    }
    m_bSkew = false;
    m_pControls->initialRect->setEnabled(true);
    m_pControls->resetSkew->setEnabled(true);
}

// --- Fields -------------------------------------------------------------------

void CAreasBar::LinkSession(IAreaEditSession* session)
{
    m_pSession = session;
    m_pWindow = session ? session->Window() : nullptr;
}

IAreaEditSession* CAreasBar::Session() const
{
    // A closed window takes its session with it.
    return m_pWindow ? m_pSession : nullptr;
}

QWidget* CAreasBar::View() const
{
    return Session() ? m_pWindow.data() : nullptr;
}

int CAreasBar::SelectedIndex() const
{
    return m_pDoc ? m_pDoc->IndexOf(m_nPicked) : -1;
}

const CArea* CAreasBar::PickedArea() const
{
    return m_pDoc ? m_pDoc->FindArea(m_nPicked) : nullptr;
}

const CArea* CAreasBar::PickedAreaWithView() const
{
    return Session() ? PickedArea() : nullptr;
}

void CAreasBar::LoadFromArea(const CArea& area)
{
    m_dRotation = area.GetRotation();
    m_nShiftX = area.GetShiftX();
    m_nShiftY = area.GetShiftY();
    m_dScale = area.GetScale();
    const CSkewEditing editing = Session() ? Session()->SkewEditing(area.GetId()) : CSkewEditing();
    m_bSkew = editing.edit;
    m_bSkewPreview = editing.preview;
    m_bPerspective = area.IsPerspective();
    m_nShading = area.GetShadingStrength();
}

CAreasBar::ReadResult CAreasBar::Read()
{
    const CAreasBarControls& c = *m_pControls;
    m_nPicked = m_pDoc ? m_pDoc->AreaIdAt(c.areaList->SelectedRow()) : 0;

    const auto fail = [this](Field field, Parse how, const QString& notNumber, const QString& between,
                             const QString& lo, const QString& hi) {
        m_prompts.ShowError(how == Parse::NotANumber ? notNumber : between.arg(lo, hi));
        return ReadResult{field, how == Parse::OutOfRange};
    };
    const QString maxShift = QString::number(kMaxShift);
    const QString minShift = QString::number(-kMaxShift);
    if (Parse how = PanelFields::ParseDouble(c.rotation->text(), 0.0, kMaxRotation, m_dRotation); how != Parse::Ok)
        return fail(Field::Rotation, how, tr(PanelMessages::kEnterNumber), tr(PanelMessages::kEnterNumberBetween),
                    QStringLiteral("0"), PanelFields::FormatDouble(kMaxRotation));
    if (Parse how = PanelFields::ParseInt(c.shiftX->text(), -kMaxShift, kMaxShift, m_nShiftX); how != Parse::Ok)
        return fail(Field::ShiftX, how, tr(PanelMessages::kEnterInteger), tr(PanelMessages::kEnterIntegerBetween),
                    minShift, maxShift);
    if (Parse how = PanelFields::ParseInt(c.shiftY->text(), -kMaxShift, kMaxShift, m_nShiftY); how != Parse::Ok)
        return fail(Field::ShiftY, how, tr(PanelMessages::kEnterInteger), tr(PanelMessages::kEnterIntegerBetween),
                    minShift, maxShift);
    if (Parse how = PanelFields::ParseDouble(c.scale->text(), 0.0, kMaxScale, m_dScale); how != Parse::Ok)
        return fail(Field::Scale, how, tr(PanelMessages::kEnterNumber), tr(PanelMessages::kEnterNumberBetween),
                    QStringLiteral("0"), PanelFields::FormatDouble(kMaxScale));
    // A field shows its number rounded to fit; untouched, it still means
    // the area's own value to the last digit.
    if (const CArea* area = PickedArea()) {
        m_dRotation = PanelFields::ShownOrKept(c.rotation->text(), m_dRotation, area->GetRotation(), CAreasBarControls::kRotationChars);
        m_dScale = PanelFields::ShownOrKept(c.scale->text(), m_dScale, area->GetScale(), CAreasBarControls::kScaleChars);
    }
    m_bSkew = c.skew->isChecked();
    m_bSkewPreview = c.skewPreview->isChecked();
    m_bPerspective = c.perspective->isChecked();
    m_bInitialRect = c.initialRect->isChecked();
    return {};
}

bool CAreasBar::ReadControls()
{
    return Read().failed == Field::None;
}

void CAreasBar::WriteControls()
{
    const QScopedValueRollback writing(m_bWriting, true);
    CAreasBarControls& c = *m_pControls;
    c.areaList->SetCurrentRowQuietly(SelectedIndex());
    const auto writeDouble = [](QLineEdit* edit, double value, int chars) {
        if (edit->text().trimmed() != PanelFields::FormatFitting(value, chars) &&
            !(PanelFields::ShowsDouble(edit->text(), value) && edit->text().trimmed().size() <= chars))
            edit->setText(PanelFields::FormatFitting(value, chars));
    };
    const auto writeInt = [](QLineEdit* edit, int value) {
        if (!PanelFields::ShowsInt(edit->text(), value))
            edit->setText(QString::number(value));
    };
    writeDouble(c.rotation, m_dRotation, CAreasBarControls::kRotationChars);
    writeInt(c.shiftX, m_nShiftX);
    writeInt(c.shiftY, m_nShiftY);
    writeDouble(c.scale, m_dScale, CAreasBarControls::kScaleChars);
    c.skew->setChecked(m_bSkew);
    c.skewPreview->setChecked(m_bSkewPreview);
    c.perspective->setChecked(m_bPerspective);
    c.shading->setValue(m_nShading);
    c.initialRect->setChecked(m_bInitialRect);
    // The same conditions as the Template menu's commands.
    const CArea* area = PickedAreaWithView();
    c.fitPerspective->setEnabled(area && m_pDoc->GetPicture() && !m_pDoc->GetPicture()->isNull());
    c.realSize->setEnabled(area && area->GetTexture());
    c.pattern->setEnabled(area && !area->GetOutline().IsEmpty());
}

// --- Texture groups -------------------------------------------------------------

void CAreasBar::FillGroups()
{
    CAreasBarControls& c = *m_pControls;
    {
        const QSignalBlocker quiet(c.groups);
        c.groups->clear();
        c.browser->ClearList();
        QStringList names;
        TextureCatalogue::ListFolderEntries(m_strTexturesFolder, nullptr, &names, true, false, false,
                                            QStringLiteral("*.*"));
        c.groups->addItems(names);
        c.browser->SetCellSize(kCellWidth, kCellHeight);
        if (c.groups->count() == 0)
            return;
        c.groups->setCurrentIndex(0);
    }
    OnSelChangeGroup();
}

void CAreasBar::OnSelChangeGroup()
{
    const CAreasBarControls& c = *m_pControls;
    if (c.groups->currentIndex() < 0)
        return;
    const QString folder = TextureCatalogue::EnsureTrailingBackslash(
        TextureCatalogue::EnsureTrailingBackslash(m_strTexturesFolder, true) + c.groups->currentText(), true);
    c.browser->LoadFolder(folder, QStringLiteral("*.*"));
}

// --- Picking and editing ----------------------------------------------------------

void CAreasBar::OnSelChangeAreaList()
{
    if (!m_pDoc)
        return;
    const AreaId previous = m_nPicked;
    Read();
    m_bNewRun = true;
    IAreaEditSession* session = Session();
    if (!session) {
        m_dRotation = 0.0;
        m_dScale = 1.0;
        m_nShiftX = m_nShiftY = 0;
        m_bSkew = m_bSkewPreview = m_bPerspective = false;
        m_nShading = CArea::kDefaultShading;
        WriteControls();
        return;
    }
    if (m_pDoc->FindArea(previous)) {
        session->SetSkewEditing(previous, false, false);
        session->RefreshSkewHandles();
    }
    if (const CArea* area = PickedArea()) {
        const CPolygon outline = area->GetOutline();
        m_pDoc->SetSelection(&outline, tr(PanelMessages::kStepPickArea));
        m_pDoc->SetSelectedArea(PickedArea());
        session->PickArea(m_nPicked);
        LoadFromArea(*PickedArea());
    }
    WriteControls();
}

void CAreasBar::ApplyEdit(const QString& step, int mergeKey, const std::function<void(CArea&)>& edit)
{
    CAreaEditCommand::Options options;
    options.mergeKey = mergeKey;
    options.joinsRun = !m_bNewRun && mergeKey != CAreaEditCommand::kNoMerge;
    m_pDoc->EditArea(m_nPicked, step, edit, options);
    m_bNewRun = mergeKey == CAreaEditCommand::kNoMerge;
}

void CAreasBar::OnChangeRotation()
{
    if (m_bWriting)
        return;
    const ReadResult read = Read();
    if (read.failed == Field::Rotation) {
        // Text that is no number changes nothing; a number out of range
        // becomes 0, shown and applied.
        if (!read.outOfRange)
            return;
        m_dRotation = 0.0;
        WriteControls();
    }
    const CArea* area = PickedArea();
    if (!area || area->GetRotation() == m_dRotation)
        return;
    ApplyEdit(tr(PanelMessages::kStepRotation), CAreaEditCommand::kMergeRotation, [r = m_dRotation](CArea& a) {
        a.SetRotation(r);
    });
}

void CAreasBar::OnChangeShift(bool x)
{
    if (m_bWriting)
        return;
    const ReadResult read = Read();
    if (read.failed != Field::None && read.failed != Field::Scale)
        return;
    const CArea* area = PickedAreaWithView();
    if (!area || (area->GetShiftX() == m_nShiftX && area->GetShiftY() == m_nShiftY))
        return;
    ApplyEdit(tr(PanelMessages::kStepShift), x ? CAreaEditCommand::kMergeShiftX : CAreaEditCommand::kMergeShiftY,
              [sx = m_nShiftX, sy = m_nShiftY](CArea& a) {
                  a.SetShift(sx, sy);
              });
}

void CAreasBar::OnChangeScale()
{
    if (m_bWriting)
        return;
    if (Read().failed != Field::None)
        return;
    const CArea* area = PickedAreaWithView();
    if (!area || area->GetScale() == m_dScale)
        return;
    ApplyEdit(tr(PanelMessages::kStepScale), CAreaEditCommand::kMergeScale, [s = m_dScale](CArea& a) {
        a.SetScale(s);
    });
}

void CAreasBar::OnTextureNotify(const CThumbnailNotification& notification)
{
    if (notification.code != CThumbnailNotification::kSelChanged &&
        notification.code != CThumbnailNotification::kSameClicked)
        return;
    Read();
    if (!PickedAreaWithView())
        return;
    const CTextureBrowser* browser = m_pControls->browser;
    if (browser->FocusedPath().isEmpty())
        return;
    // A product's picture lays the whole product as its sidecar describes it.
    if (const auto product = ProductSidecar::PatternFor(browser->FocusedPath())) {
        m_pDoc->EditArea(m_nPicked, Messages::kStepPattern,
                         [&product](CArea& a) { CAreaPattern::Apply(a, *product); });
        return;
    }
    // The area keeps the texture it has when the file is unreadable or its
    // damage puts the user off.
    const std::optional<CStoredImage> image = CPictureChoice::Load(m_prompts, browser->FocusedPath());
    if (!image)
        return;
    if (m_pDoc->LayTexture(m_nPicked, *image, FocusedTextureWidth()))
        m_laidPaths[m_nPicked] = browser->FocusedPath();
    m_bNewRun = true;
}

QString CAreasBar::FocusedTexturePath() const
{
    return m_pControls->browser->FocusedPath();
}

std::optional<double> CAreasBar::FocusedTextureWidth() const
{
    const QString path = FocusedTexturePath();
    if (!m_textureWidth || path.isEmpty())
        return std::nullopt;
    return m_textureWidth(path);
}

// --- Skew and initial rectangle ------------------------------------------------------

void CAreasBar::RepaintView()
{
    if (IAreaEditSession* session = Session())
        session->RepaintAll();
}

void CAreasBar::OnSkew()
{
    Read();
    if (const CArea* area = PickedAreaWithView()) {
        Session()->SetSkewEditing(m_nPicked, m_bSkew, Session()->SkewEditing(area->GetId()).preview);
        Session()->SetSkewMode(m_bSkew, m_nPicked);
    }
    if (IAreaEditSession* session = Session())
        session->RefreshSkewHandles();
    m_pControls->initialRect->setEnabled(!m_bSkew);
    m_pControls->resetSkew->setEnabled(!m_bSkew);
}

void CAreasBar::EditSkewOf(const CTilemontDoc& doc, AreaId id)
{
    if (&doc != m_pDoc || id != m_nPicked || !PickedAreaWithView())
        return;
    CAreasBarControls& c = *m_pControls;
    // The two handle modes never show at once: the rectangle's gives way.
    if (c.initialRect->isChecked()) {
        c.initialRect->setChecked(false);
        OnInitialRect();
    }
    if (!c.skew->isChecked()) {
        c.skew->setChecked(true);
        OnSkew();
    }
}

void CAreasBar::OnSkewPreview()
{
    Read();
    if (PickedAreaWithView())
        Session()->SetSkewEditing(m_nPicked, Session()->SkewEditing(m_nPicked).edit, m_bSkewPreview);
    if (IAreaEditSession* session = Session())
        session->RefreshSkewHandles();
}

void CAreasBar::OnShadingStrength()
{
    if (m_bWriting)
        return;
    m_nShading = m_pControls->shading->value();
    const CArea* area = PickedAreaWithView();
    if (!area || area->GetShadingStrength() == m_nShading)
        return;
    ApplyEdit(tr(PanelMessages::kStepShading), CAreaEditCommand::kNoMerge,
              [s = m_nShading](CArea& a) { a.SetShadingStrength(s); });
}

void CAreasBar::OnPerspective()
{
    Read();
    if (!PickedAreaWithView()) {
        // Nothing to switch: the box goes back to what there is.
        m_bPerspective = false;
        WriteControls();
        return;
    }
    m_pDoc->SetAreaPerspective(m_nPicked, m_bPerspective);
    m_bNewRun = true;
}

void CAreasBar::OnResetSkew()
{
    ResetPicked(tr(PanelMessages::kStepResetSkew), &CArea::ResetSkew);
}

void CAreasBar::ResetPicked(const QString& step, void (CArea::*reset)())
{
    Read();
    if (!PickedAreaWithView())
        return;
    ApplyEdit(step, CAreaEditCommand::kNoMerge, [reset](CArea& a) { (a.*reset)(); });
    RepaintView();
}

void CAreasBar::OnInitialRect()
{
    Read();
    if (PickedAreaWithView())
        Session()->SetInitialRectMode(m_bInitialRect, m_nPicked);
    if (IAreaEditSession* session = Session())
        session->RefreshInitialRectHandles();
    m_pControls->skew->setEnabled(!m_bInitialRect);
    m_pControls->resetInitialRect->setEnabled(!m_bInitialRect);
}

void CAreasBar::OnResetInitialRect()
{
    ResetPicked(tr(PanelMessages::kStepResetInitialRect), &CArea::ResetInitialRect);
}

void CAreasBar::OnEnter()
{
    if (ReadControls())
        HideToView();
}

void CAreasBar::HideToView()
{
    // A hidden widget that had the keyboard hands it to the next one in the
    // chain, which may sit in another template window and bring that to
    // the front; the panel's own view takes it first instead.
    if (QWidget* window = View(); window && isAncestorOf(QApplication::focusWidget()))
        window->setFocus(Qt::OtherFocusReason);
    hide();
}
