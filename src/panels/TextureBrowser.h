#pragma once

#include "panels/ThumbnailList.h"

#include <QImage>

#include <memory>

// The swatches of one texture group: each cell shows the top-left part of
// its texture at natural size (scaling would hide the grain a user picks a
// texture by) above its name. Files are only ever read.
class CTextureBrowser : public CThumbnailList
{
    Q_OBJECT

public:
    explicit CTextureBrowser(QWidget* parent = nullptr);

    // The focused cell's file, empty without a focus.
    QString FocusedPath() const { return PathAt(FocusedPosition()); }
    // The focused texture, whole and upright: nullptr without a focus, a
    // null image when the file cannot be read (error, when given, then says
    // why, naming the file).
    std::unique_ptr<QImage> LoadFocusedImage(QString* error = nullptr) const;

    // Reads what a cell of size cell shows of path: the header, and only the
    // part of the picture inside the picture box. Safe on any thread.
    static CPreparedSwatch PrepareSwatch(const QString& path, QSize cell);
    // The picture box inside a cell of size cell.
    static QRect PictureBox(QSize cell) { return QRect(5, 5, cell.width() - 10, cell.height() - 30); }

    bool DrawCell(QPainter& normal, QPainter& selected, const QString& path) override;

protected:
    CSwatchJob SwatchJob(const QString& path, QSize cell) const override;
    bool DrawPreparedCell(QPainter& normal, QPainter& selected, const QString& path,
                          const CPreparedSwatch& prepared) override;

private:
    void DrawSwatch(QPainter& painter, const QImage& picture, const QString& caption, QPalette::ColorRole fill,
                    QPalette::ColorRole text) const;
};
