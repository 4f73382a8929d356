#include "document/ImageCodec.h"
#include "document/PictureFileFilter.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <gtest/gtest.h>

// Every pattern the Select picture dialog offers names a file the program
// then reads: a picture written in that format by Qt's writer decodes to the
// same pixels' size. A pattern for a format nothing here reads (a metafile)
// would only lead the user to a refusal.
TEST(PictureFileFilterTest, OffersExactlyTheFormatsThatDecode)
{
    const QStringList patterns = PictureFileFilter::Patterns();
    // bmp and png are built into Qt; the others come with the image plugins
    // this build depends on.
    EXPECT_EQ(patterns,
              (QStringList{"*.bmp", "*.gif", "*.jpeg", "*.jpg", "*.png", "*.tiff", "*.heic", "*.heif", "*.avif"}));
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    for (const QString& pattern : patterns) {
        const QByteArray format = pattern.mid(2).toLatin1();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format);
        if (!writer.canWrite())
            continue; // readable but not writable here: nothing to make a sample with
        ASSERT_TRUE(writer.write(picture)) << pattern.toStdString();
        const auto decoded = DecodeImage(bytes, false);
        ASSERT_TRUE(decoded) << pattern.toStdString();
        EXPECT_EQ(decoded->size(), picture.size()) << pattern.toStdString();
    }
    EXPECT_EQ(PictureFileFilter::Filter(),
              QStringLiteral("All available formats(*.bmp *.gif *.jpeg *.jpg *.png *.tiff *.heic *.heif *.avif)|"
                             "*.bmp;*.gif;*.jpeg;*.jpg;*.png;*.tiff;*.heic;*.heif;*.avif|All files(*.*)|*.*|"));
}
