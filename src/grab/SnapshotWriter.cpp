#include "SnapshotWriter.h"

#include "output/PackedDib.h"

#include <QSaveFile>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace SnapshotWriter
{

namespace
{

void PutLe16(QByteArray &b, uint16_t v)
{
    b.append(char(v & 0xFF)).append(char(v >> 8));
}

void PutLe32(QByteArray &b, uint32_t v)
{
    PutLe16(b, uint16_t(v & 0xFFFF));
    PutLe16(b, uint16_t(v >> 16));
}

// libjpeg reports fatal errors through error_exit, which must not return: jump back to the
// encoder's frame, which holds only plain C data.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegError *>(cinfo->err)->jump, 1);
}

bool EncodeRgbRows(const QImage &rgb, int quality, unsigned char **buffer, unsigned long *size)
{
    jpeg_compress_struct cinfo;
    JpegError error;
    cinfo.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JpegErrorExit;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = JDIMENSION(rgb.width());
    cinfo.image_height = JDIMENSION(rgb.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE); // baseline tables
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

QByteArray EncodeBmp24(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const uint32_t rowBytes = (uint32_t(rgb.width()) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * uint32_t(rgb.height());
    QByteArray b = BmpFileHeader(54 + pixelBytes, 54);
    b.reserve(int(54 + pixelBytes));
    PutLe32(b, 40);
    PutLe32(b, uint32_t(rgb.width()));
    PutLe32(b, uint32_t(rgb.height())); // bottom-up rows
    PutLe16(b, 1);
    PutLe16(b, 24);
    PutLe32(b, 0); // uncompressed
    PutLe32(b, pixelBytes);
    PutLe32(b, 2835); // 72 dots per inch
    PutLe32(b, 2835);
    PutLe32(b, 0);
    PutLe32(b, 0);
    QByteArray row(int(rowBytes), '\0');
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const uchar *src = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            row[x * 3] = char(src[x * 3 + 2]); // blue, green, red
            row[x * 3 + 1] = char(src[x * 3 + 1]);
            row[x * 3 + 2] = char(src[x * 3]);
        }
        b.append(row);
    }
    return b;
}

QByteArray EncodeJpeg(const QImage &image, int quality)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return {};
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    const bool ok = EncodeRgbRows(rgb, quality, &buffer, &size);
    QByteArray bytes =
        ok ? QByteArray(reinterpret_cast<const char *>(buffer), qsizetype(size)) : QByteArray();
    std::free(buffer);
    return bytes;
}

Result Write(const QImage &image, const QString &path, Format format, int quality)
{
    const int lowByte = quality & 0xFF;
    const QByteArray bytes =
        format == Format::Jpeg ? EncodeJpeg(image, lowByte == 0 ? 1 : lowByte) : EncodeBmp24(image);
    QSaveFile file(path);
    if (bytes.isEmpty())
        return {false, QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(path, QStringLiteral("The picture cannot be encoded."))};
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return {false, QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString())};
    return {true, {}};
}

} // namespace SnapshotWriter
