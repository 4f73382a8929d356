#include "PatternDlg.h"

#include "render/PatternLayout.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QVBoxLayout>

#include <array>
#include <limits>

namespace {

const char* const kLayoutTexts[] = {
    QT_TRANSLATE_NOOP("CPatternDlg", "Straight"),     QT_TRANSLATE_NOOP("CPatternDlg", "Offset by half"),
    QT_TRANSLATE_NOOP("CPatternDlg", "Offset by a third"), QT_TRANSLATE_NOOP("CPatternDlg", "Random offset"),
    QT_TRANSLATE_NOOP("CPatternDlg", "Herringbone"),  QT_TRANSLATE_NOOP("CPatternDlg", "Chevron"),
    QT_TRANSLATE_NOOP("CPatternDlg", "Basket"),       QT_TRANSLATE_NOOP("CPatternDlg", "Diagonal")};

QDoubleSpinBox* NumberBox(double lo, double hi, int decimals, const QString& suffix, const QString& name,
                          QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(lo, hi);
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    box->setAccessibleName(name);
    box->setKeyboardTracking(false);
    return box;
}

QLabel* Buddy(const QString& text, QWidget* field, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    return label;
}

} // namespace

QImage CPatternDlg::LayoutIcon(ELayout layout, int side)
{
    // Proportions that show each layout for what it is.
    static const std::array<std::pair<double, double>, kLayoutCount> kShapes{
        {{2, 1}, {2, 1}, {3, 1}, {4, 1}, {3, 0.75}, {3, 0.75}, {2, 0.95}, {1.4, 1.4}}};
    CLayingPattern p;
    p.layout = layout;
    p.widthCm = kShapes[static_cast<std::size_t>(layout)].first;
    p.heightCm = kShapes[static_cast<std::size_t>(layout)].second;
    p.jointMm = 1;
    p.seed = 3;
    p.turn180 = false;
    p.variants.resize(3);
    const double units = 7.0;
    const QRectF window(0, 0, units, units);
    QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
    icon.fill(QColor(90, 80, 70));
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / units, side / units);
    painter.setPen(Qt::NoPen);
    const QColor tones[] = {QColor(214, 178, 128), QColor(196, 156, 104), QColor(228, 198, 152)};
    for (const CLaidPiece& piece : CPatternLayout::Lay(p, window, QPointF(0.3, 0.3))) {
        painter.setBrush(tones[piece.variant % 3]);
        painter.drawPolygon(QPolygonF(QList<QPointF>(piece.shape.begin(), piece.shape.end())));
    }
    return icon;
}

CPatternDlg::CPatternDlg(const CLayingPattern& start, const QString& areaName, bool realSize,
                         const QString& texturesFolder, QWidget* parent)
    : QDialog(parent), m_pattern(start), m_strFolder(texturesFolder)
{
    setWindowTitle(areaName.isEmpty() ? tr("Pattern") : tr("Pattern - %1").arg(areaName));

    m_pPieces = new QListWidget(this);
    m_pPieces->setViewMode(QListView::IconMode);
    m_pPieces->setIconSize(QSize(96, 48));
    m_pPieces->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pPieces->setAccessibleName(tr("Piece pictures"));
    m_pPieces->setMaximumHeight(90);
    m_pAdd = new QPushButton(tr("&Add Pictures..."), this);
    m_pAdd->setToolTip(tr("Pick one or more photographs of single pieces of the product"));
    m_pRemove = new QPushButton(tr("&Remove"), this);
    m_pRemove->setAccessibleName(tr("Remove the picked pictures"));

    m_pWidth = NumberBox(0.1, 10000, 1, tr(" cm"), tr("Piece width"), this);
    m_pHeight = NumberBox(0.1, 10000, 1, tr(" cm"), tr("Piece height"), this);

    m_pLayouts = new QListWidget(this);
    m_pLayouts->setViewMode(QListView::IconMode);
    m_pLayouts->setIconSize(QSize(56, 56));
    m_pLayouts->setMovement(QListView::Static);
    m_pLayouts->setAccessibleName(tr("Layout"));
    m_pLayouts->setMinimumHeight(2 * 96);
    for (std::uint32_t i = 0; i < kLayoutCount; ++i) {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(LayoutIcon(static_cast<ELayout>(i), 56))),
                                         tr(kLayoutTexts[i]), m_pLayouts);
        item->setSizeHint(QSize(104, 90));
    }

    m_pAngle = NumberBox(-180, 180, 1, tr(" degrees"), tr("Laying angle"), this);
    m_pJoint = NumberBox(0, 50, 1, tr(" mm"), tr("Joint width"), this);
    m_pJointColour = new QPushButton(this);
    m_pJointColour->setAccessibleName(tr("Joint colour"));
    m_pJointColour->setToolTip(tr("Pick the colour of the joints"));
    m_pTurn180 = new QCheckBox(tr("Turn pieces by a &half turn at random"), this);
    m_pTurn90 = new QCheckBox(tr("Turn square pieces by a &quarter turn at random"), this);
    m_pSeed = new QSpinBox(this);
    m_pSeed->setRange(0, std::numeric_limits<int>::max());
    m_pSeed->setAccessibleName(tr("Seed"));
    m_pSeed->setKeyboardTracking(false);
    m_pShuffle = new QPushButton(tr("S&huffle"), this);
    m_pShuffle->setToolTip(tr("Choose the pieces' variants and turns anew"));
    m_pOrigin = new QComboBox(this);
    m_pOrigin->addItem(tr("The area's corner"), int(EPatternOrigin::Corner));
    m_pOrigin->addItem(tr("The area's centre"), int(EPatternOrigin::Centre));
    m_pOrigin->addItem(tr("Balanced cuts at the edges"), int(EPatternOrigin::Balanced));
    if (start.origin == EPatternOrigin::Point)
        m_pOrigin->addItem(tr("The point chosen before"), int(EPatternOrigin::Point));
    m_pOrigin->setAccessibleName(tr("First whole piece"));
    m_pScaleNote = new QLabel(realSize ? tr("The pieces are laid at their real size.")
                                       : tr("This area has no reference line: the pieces are laid at the scale of "
                                            "their pictures, not at their real size. Use Real Size to draw one."),
                              this);
    m_pScaleNote->setWordWrap(true);

    auto* pieceButtons = new QVBoxLayout;
    pieceButtons->addWidget(m_pAdd);
    pieceButtons->addWidget(m_pRemove);
    pieceButtons->addStretch(1);
    auto* pieceRow = new QHBoxLayout;
    pieceRow->addWidget(m_pPieces, 1);
    pieceRow->addLayout(pieceButtons);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(m_pWidth);
    sizeRow->addWidget(new QLabel(QStringLiteral("x"), this));
    sizeRow->addWidget(m_pHeight);
    sizeRow->addStretch(1);
    auto* jointRow = new QHBoxLayout;
    jointRow->addWidget(m_pJoint);
    jointRow->addWidget(m_pJointColour);
    jointRow->addStretch(1);
    auto* seedRow = new QHBoxLayout;
    seedRow->addWidget(m_pSeed);
    seedRow->addWidget(m_pShuffle);
    seedRow->addStretch(1);

    auto* form = new QFormLayout;
    form->addRow(Buddy(tr("&Pictures of one piece:"), m_pPieces, this), pieceRow);
    form->addRow(Buddy(tr("Piece &size (width x height):"), m_pWidth, this), sizeRow);
    form->addRow(Buddy(tr("&Layout:"), m_pLayouts, this), m_pLayouts);
    form->addRow(Buddy(tr("An&gle:"), m_pAngle, this), m_pAngle);
    form->addRow(Buddy(tr("&Joints:"), m_pJoint, this), jointRow);
    form->addRow(QString(), m_pTurn180);
    form->addRow(QString(), m_pTurn90);
    form->addRow(Buddy(tr("S&eed:"), m_pSeed, this), seedRow);
    form->addRow(Buddy(tr("&First whole piece at:"), m_pOrigin, this), m_pOrigin);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_pOk = buttons->button(QDialogButtonBox::Ok);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(m_pScaleNote);
    column->addWidget(buttons);

    // The controls show the pattern as it starts.
    m_bFilling = true;
    for (const CPieceImage& piece : start.variants)
        new QListWidgetItem(QIcon(QPixmap::fromImage(piece.image.scaled(96, 48, Qt::KeepAspectRatio))), QString(),
                            m_pPieces);
    m_pWidth->setValue(start.widthCm > 0 ? start.widthCm : 60.0);
    m_pHeight->setValue(start.heightCm > 0 ? start.heightCm : 20.0);
    m_pLayouts->setCurrentRow(static_cast<int>(start.layout));
    m_pAngle->setValue(start.angleDeg);
    m_pJoint->setValue(start.jointMm);
    m_pTurn180->setChecked(start.turn180);
    m_pTurn90->setChecked(start.turn90);
    m_pSeed->setValue(static_cast<int>(start.seed & 0x7FFFFFFFu));
    m_pOrigin->setCurrentIndex(m_pOrigin->findData(int(start.origin)));
    m_bFilling = false;
    Read();
    ShowJointColour();

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pAdd, &QPushButton::clicked, this, &CPatternDlg::OnAddPieces);
    connect(m_pRemove, &QPushButton::clicked, this, &CPatternDlg::OnRemovePieces);
    for (QDoubleSpinBox* box : {m_pWidth, m_pHeight, m_pAngle, m_pJoint})
        connect(box, &QDoubleSpinBox::valueChanged, this, &CPatternDlg::Read);
    connect(m_pLayouts, &QListWidget::currentRowChanged, this, &CPatternDlg::Read);
    connect(m_pTurn180, &QCheckBox::toggled, this, &CPatternDlg::Read);
    connect(m_pTurn90, &QCheckBox::toggled, this, &CPatternDlg::Read);
    connect(m_pSeed, &QSpinBox::valueChanged, this, &CPatternDlg::Read);
    connect(m_pOrigin, &QComboBox::currentIndexChanged, this, &CPatternDlg::Read);
    connect(m_pShuffle, &QPushButton::clicked, this,
            [this] { m_pSeed->setValue(static_cast<int>(QRandomGenerator::global()->bounded(1 << 30))); });
    connect(m_pJointColour, &QPushButton::clicked, this, [this] {
        const QColor colour = QColorDialog::getColor(QColor(m_pattern.jointColour), this, tr("Joint Colour"));
        if (!colour.isValid())
            return;
        m_pattern.jointColour = colour.rgb();
        ShowJointColour();
        emit changed(m_pattern);
    });
}

void CPatternDlg::Read()
{
    if (m_bFilling)
        return;
    m_pattern.widthCm = m_pWidth->value();
    m_pattern.heightCm = m_pHeight->value();
    if (m_pLayouts->currentRow() >= 0)
        m_pattern.layout = static_cast<ELayout>(m_pLayouts->currentRow());
    m_pattern.angleDeg = m_pAngle->value();
    m_pattern.jointMm = m_pJoint->value();
    m_pattern.turn180 = m_pTurn180->isChecked();
    m_pattern.turn90 = m_pTurn90->isChecked();
    m_pattern.seed = static_cast<std::uint32_t>(m_pSeed->value());
    m_pattern.origin = static_cast<EPatternOrigin>(m_pOrigin->currentData().toInt());
    m_pRemove->setEnabled(!m_pattern.variants.empty());
    m_pOk->setEnabled(m_pattern.IsUsable());
    emit changed(m_pattern);
}

void CPatternDlg::ShowJointColour()
{
    const QColor colour(m_pattern.jointColour);
    QPixmap swatch(32, 16);
    swatch.fill(colour);
    m_pJointColour->setIcon(QIcon(swatch));
    m_pJointColour->setText(colour.name());
}

QString CPatternDlg::AddPieces(const QStringList& paths)
{
    QStringList refused;
    for (const QString& path : paths) {
        QString error;
        const auto piece = LoadPieceImage(path, &error);
        if (!piece) {
            refused << QFileInfo(path).fileName();
            continue;
        }
        m_pattern.variants.push_back(*piece);
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(piece->image.scaled(96, 48, Qt::KeepAspectRatio))),
                                         QFileInfo(path).completeBaseName(), m_pPieces);
        item->setToolTip(path);
    }
    Read();
    return refused.isEmpty() ? QString() : tr("These files are no pictures: %1").arg(refused.join(QStringLiteral(", ")));
}

void CPatternDlg::OnAddPieces()
{
    const QStringList paths = QFileDialog::getOpenFileNames(this, tr("Pictures of One Piece"), m_strFolder,
                                                            tr("Pictures (*.jpg *.jpeg *.png *.bmp *.gif *.tif *.tiff)"));
    if (paths.isEmpty())
        return;
    m_strFolder = QFileInfo(paths.front()).absolutePath();
    if (const QString refused = AddPieces(paths); !refused.isEmpty())
        m_pScaleNote->setText(refused);
}

void CPatternDlg::OnRemovePieces()
{
    std::vector<int> rows;
    for (const QListWidgetItem* item : m_pPieces->selectedItems())
        rows.push_back(m_pPieces->row(item));
    std::sort(rows.rbegin(), rows.rend());
    for (int row : rows) {
        delete m_pPieces->takeItem(row);
        m_pattern.variants.erase(m_pattern.variants.begin() + row);
    }
    Read();
}

std::optional<CLayingPattern> CPatternDlg::Ask(const CLayingPattern& start, const QString& areaName, bool realSize,
                                               const QString& texturesFolder, const IPatternPrompt::Preview& preview,
                                               QWidget* parent)
{
    CPatternDlg dialog(start, areaName, realSize, texturesFolder, parent);
    if (preview)
        connect(&dialog, &CPatternDlg::changed, &dialog, [&preview](const CLayingPattern& p) {
            if (p.IsUsable())
                preview(p);
        });
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Pattern();
}
