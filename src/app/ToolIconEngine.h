#pragma once

#include <QIconEngine>

// Draws the toolbar and window icons as vector shapes on a 16-unit grid, at
// whatever pixel size and device pixel ratio the icon is asked for, so they
// stay sharp on high-density screens. Disabled icons are drawn in grey.
class CToolIconEngine : public QIconEngine
{
public:
    // id is a command id, or IDR_MAINFRAME for the program's own icon.
    explicit CToolIconEngine(int id) : m_nId(id) {}

    static QIcon Icon(int id);
    // Whether there is a drawing for id.
    static bool HasDrawing(int id);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    // Both start from a transparent pixmap: the default ones paint over
    // whatever memory the pixmap happened to get.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QIconEngine* clone() const override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QString key() const override;

private:
    int m_nId;
};
