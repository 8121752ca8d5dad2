#include "grab/SnapshotWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace
{

QImage Pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, (x + y) % 256));
    return image;
}

// The first entry of the luminance quantisation table, and the image size, read back with libjpeg.
struct JpegFacts {
    int width = 0, height = 0, components = 0, firstQuant = 0;
    bool progressive = true;
};

JpegFacts ReadJpeg(const QByteArray &bytes)
{
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(bytes.constData()), bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    JpegFacts f{int(cinfo.image_width), int(cinfo.image_height), cinfo.num_components,
                cinfo.quant_tbl_ptrs[0] ? cinfo.quant_tbl_ptrs[0]->quantval[0] : 0,
                bool(cinfo.progressive_mode)};
    jpeg_destroy_decompress(&cinfo);
    return f;
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(SnapshotWriter, BmpIs24BitUncompressedAndDecodesToThePicture)
{
    const QImage picture = Pattern(5, 3); // 15-byte rows padded to 16
    QTemporaryDir dir;
    const QString path = dir.filePath("T_001.bmp");
    ASSERT_TRUE(SnapshotWriter::Write(picture, path, SnapshotWriter::Format::Bmp, 50).ok);
    const QByteArray bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), 54 + 16 * 3);
    EXPECT_TRUE(bytes.startsWith("BM"));
    EXPECT_EQ(uint8_t(bytes[28]), 24);
    EXPECT_EQ(uint8_t(bytes[30]), 0);
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), picture);
}

TEST(SnapshotWriter, JpegIsBaselineWithTheQualityAskedForByItsLowByte)
{
    const QImage picture = Pattern(64, 48);
    // Luminance DC step of the standard table (16) scaled for the quality.
    const std::pair<int, int> cases[] = {{50, 16}, {90, 3}, {100, 1}, {10, 80}, {256 + 50, 16}, {0, 255}};
    for (const auto &[quality, dcStep] : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("T.jpg");
        ASSERT_TRUE(SnapshotWriter::Write(picture, path, SnapshotWriter::Format::Jpeg, quality).ok);
        const JpegFacts facts = ReadJpeg(ReadAll(path));
        EXPECT_EQ(facts.width, 64);
        EXPECT_EQ(facts.height, 48);
        EXPECT_EQ(facts.components, 3);
        EXPECT_FALSE(facts.progressive);
        EXPECT_EQ(facts.firstQuant, dcStep) << "quality " << quality;
    }
}

TEST(SnapshotWriter, AFolderThatDoesNotExistGivesTheMessageAndWritesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/T_001.jpg");
    const auto result = SnapshotWriter::Write(Pattern(8, 8), path, SnapshotWriter::Format::Jpeg, 75);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.startsWith(QString("Cannot create file \"%1\". ").arg(path)))
        << result.error.toStdString();
    EXPECT_GT(result.error.size(), QString("Cannot create file \"%1\". ").arg(path).size())
        << "the system's reason follows";
    EXPECT_FALSE(QFile::exists(path));
}

TEST(SnapshotWriter, AFailedWriteLeavesTheExistingFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("T_001.bmp");
    ASSERT_TRUE(SnapshotWriter::Write(Pattern(8, 8), path, SnapshotWriter::Format::Bmp, 0).ok);
    const QByteArray before = ReadAll(path);
    // A null picture cannot be encoded: the old file must survive untouched.
    EXPECT_FALSE(SnapshotWriter::Write(QImage(), path, SnapshotWriter::Format::Jpeg, 75).ok);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"T_001.bmp"}) << "no temporary file left";
}
