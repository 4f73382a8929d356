#pragma once

#include "panels/ThumbnailList.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

// A file named name in dir holding image (or text when image is null).
inline QString WriteFile(const QString& dir, const QString& name, const QImage& image, const char* format = "PNG")
{
    const QString path = QDir(dir).filePath(name);
    if (image.isNull()) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture at all\n");
    } else {
        EXPECT_TRUE(image.save(path, format));
    }
    return path;
}

inline QImage Solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Resizes the control until its viewport has size, whether or not the
// scroll bar shows.
inline void SetViewportSize(QAbstractScrollArea& area, QSize size)
{
    // The scroll bar comes and goes a little later, by a queued call.
    for (int round = 0; round < 4 && area.viewport()->size() != size; ++round) {
        area.resize(area.size() + size - area.viewport()->size());
        QApplication::processEvents();
    }
    ASSERT_EQ(area.viewport()->size(), size);
}

inline void ShowList(CThumbnailList& list, QSize viewport)
{
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    SetViewportSize(list, viewport);
}

// Paints what shows now and waits until every swatch it asked for is drawn.
inline bool WaitForSwatches(CThumbnailList& list)
{
    list.viewport()->repaint();
    return QTest::qWaitFor([&] { return list.PendingSwatches() == 0; }, 20000);
}

// Every notification the list sends, in order.
struct CNotificationLog
{
    explicit CNotificationLog(CThumbnailList& list)
    {
        QObject::connect(&list, &CThumbnailList::notified,
                         [this](const CThumbnailNotification& n) { seen.push_back(n); });
    }
    std::vector<CThumbnailNotification> Take() { return std::exchange(seen, {}); }
    std::vector<CThumbnailNotification> seen;
};

inline CThumbnailNotification Note(QObject* source, int code, int from, int to)
{
    return CThumbnailNotification{source, CThumbnailList::kDefaultControlId, code, from, to};
}

// gtest prints notifications readably when a comparison fails.
inline void PrintTo(const CThumbnailNotification& n, std::ostream* os)
{
    *os << "{code " << n.code << ", " << n.oldPosition << " -> " << n.newPosition << ", id " << n.controlId << "}";
}
