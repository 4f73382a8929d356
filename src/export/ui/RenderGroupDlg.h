#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class CBrowseEdit;
class IDocumentPrompts;
class QCheckBox;
class QComboBox;
class QLineEdit;

// "Render texture group...": which area takes the textures, which group of
// the textures folder, where the images go, their format and size. The
// fields hold the values after OK; set them before showing to preset.
class CRenderGroupDlg : public QDialog
{
    Q_OBJECT

public:
    // areaNames in the template's order; groups are the textures folder's
    // subfolders.
    CRenderGroupDlg(IDocumentPrompts& prompts, const QStringList& areaNames, const QString& texturesFolder,
                    QWidget* parent = nullptr);

    int m_nArea = 0;
    // The chosen group's folder (the textures folder's subfolder).
    QString m_strGroupFolder;
    QString m_strOutputFolder;
    // An index into the export formats.
    int m_nFormat = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    bool m_bKeepShading = false;

    // Puts the fields into the controls.
    void WriteFields();
    // OK's checks, each refusal with a message; closes with OK when they pass.
    bool TryAccept();

    QComboBox* AreaList() const { return m_pArea; }
    QComboBox* GroupList() const { return m_pGroup; }
    CBrowseEdit* OutputEdit() const { return m_pOutput; }
    QComboBox* FormatList() const { return m_pFormat; }
    QLineEdit* WidthEdit() const { return m_pWidth; }
    QLineEdit* HeightEdit() const { return m_pHeight; }
    QCheckBox* KeepShadingBox() const { return m_pKeepShading; }

public slots:
    void accept() override;

private:
    IDocumentPrompts& m_prompts;
    QString m_strTexturesFolder;
    QComboBox* m_pArea;
    QComboBox* m_pGroup;
    CBrowseEdit* m_pOutput;
    QComboBox* m_pFormat;
    QLineEdit* m_pWidth;
    QLineEdit* m_pHeight;
    QCheckBox* m_pKeepShading;
};
