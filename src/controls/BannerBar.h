#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <vector>

class QTimer;

// The strip along the top of the main window: one tip picture at a time,
// centred, the next one every two seconds, round and round. A left click on
// the picture opens a link (the user guide); the strips either side are
// inert. The pictures are drawn (CBannerArt), sharp at any screen scale.
class CBannerBar : public QWidget
{
    Q_OBJECT

public:
    struct Tip
    {
        // What the picture says; screen readers read it too.
        QString text;
    };
    using Opener = std::function<void(const QUrl&)>;

    static constexpr int kHeight = 60;
    static constexpr int kIntervalMs = 2000;

    // The tips built into the program, in the order shown.
    static std::vector<Tip> DefaultTips();

    explicit CBannerBar(QWidget* parent = nullptr);
    // A tip without text is left out.
    explicit CBannerBar(const std::vector<Tip>& tips, QWidget* parent = nullptr);

    // What a click on the picture opens, and how; the desktop's browser by default.
    void SetLink(const QUrl& url) { m_url = url; }
    QUrl Link() const { return m_url; }
    void SetOpener(Opener opener) { m_opener = std::move(opener); }

    int ImageCount() const { return int(m_texts.size()); }
    int CurrentIndex() const { return m_nIndex; }
    // Where the current picture sits in the widget; empty without pictures.
    QRect ImageRect() const;
    // Centred, rounding toward minus infinity on both axes even when the
    // picture is larger than the client, so both sides agree on one pixel.
    static QRect ImageRect(QSize image, QSize client);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    // The next picture, back to the first after the last.
    void Advance();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateCursor(const QPoint& pos);
    void UpdateDescription();

    QStringList m_texts;
    int m_nIndex = 0;
    QUrl m_url;
    Opener m_opener;
    QTimer* m_pTimer;
};
