#pragma once

#include "ExportChoices.h"
#include "codecs/EncoderParameter.h"

#include <QDialog>
#include <QUuid>

class CFileBrowseEdit;
class COptionsPage;
class CJpegOptionsPage;
class CTiffOptionsPage;
class IDocumentPrompts;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// "Export": the output size (optionally keeping the picture's aspect), the
// file name and format, and the format's options. On OK the chosen encoder
// and its parameters are ready and the values have been checked, down to a
// trial encoding with the chosen options.
class CExportDlg : public QDialog
{
    Q_OBJECT

public:
    // prompts shows the validation messages; exportFolder takes bare names
    // and the default name.
    CExportDlg(IDocumentPrompts& prompts, const QString& exportFolder, QWidget* parent = nullptr);
    ~CExportDlg() override;

    int m_nWidth = 0;
    int m_nHeight = 0;
    bool m_bKeepAspect = true;
    // The picture's light and shadow over the textures.
    bool m_bKeepShading = false;
    double m_dAspect = 1.0;
    QString m_strFileName;
    QString m_strParamInfo;
    QUuid m_clsid;
    CEncoderParameters m_params;

    // The next default name's number, for the life of the process.
    static int s_nExportCounter;

    // Puts the fields into the controls (after the caller set them).
    void WriteFields();
    // OK's checks; closes the dialog with OK when they pass. A file name
    // without an extension gets the chosen format's.
    bool TryAccept();

    // The format, the options and "keep aspect" as the controls show them,
    // and back: what one export hands to the next.
    CExportChoices Choices() const;
    void RestoreChoices(const CExportChoices& choices);

    QLineEdit* WidthEdit() const { return m_pWidth; }
    QLineEdit* HeightEdit() const { return m_pHeight; }
    QCheckBox* KeepAspectBox() const { return m_pKeepAspect; }
    QCheckBox* KeepShadingBox() const { return m_pKeepShading; }
    CFileBrowseEdit* FileNameEdit() const { return m_pFileName; }
    QComboBox* FormatList() const { return m_pFormat; }
    CJpegOptionsPage* JpegPage() const { return m_pJpegPage; }
    CTiffOptionsPage* TiffPage() const { return m_pTiffPage; }
    COptionsPage* CurrentPage() const { return m_pCurrentPage; }

    void OnWidthChanged();
    void OnHeightChanged();
    void OnKeepAspectClicked();
    void OnFormatChanged();

public slots:
    void accept() override;

private:
    // Reads width, height, the box and the name; false (after the message)
    // when a size is no integer.
    bool ReadFields();
    int FormatIndex() const;

    IDocumentPrompts& m_prompts;
    QString m_strExportFolder;
    QLineEdit* m_pWidth;
    QLineEdit* m_pHeight;
    QCheckBox* m_pKeepAspect;
    QCheckBox* m_pKeepShading;
    CFileBrowseEdit* m_pFileName;
    QComboBox* m_pFormat;
    CJpegOptionsPage* m_pJpegPage;
    CTiffOptionsPage* m_pTiffPage;
    COptionsPage* m_pCurrentPage = nullptr;
    QPlainTextEdit* m_pParamInfo;
    bool m_bWriting = false;
};
