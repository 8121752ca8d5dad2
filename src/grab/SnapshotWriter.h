#pragma once

#include <QImage>
#include <QString>

// Writes grabbed pictures as files: 24-bit uncompressed BMP or baseline JPEG. The file is written
// under a temporary name in the target folder and renamed into place, so a failure never leaves a
// half-written image and never destroys an existing one. UI thread (any thread for EncodeJpeg).
namespace SnapshotWriter
{

enum class Format { Bmp, Jpeg };

struct Result {
    bool ok = false;
    QString error; // "Cannot create file "PATH". REASON" when not ok
};

// `quality` is taken by its low byte, as the setting's text may hold any integer; 0 counts as 1.
Result Write(const QImage &image, const QString &path, Format format, int quality);

QByteArray EncodeBmp24(const QImage &image);
// Empty when the encoder fails.
QByteArray EncodeJpeg(const QImage &image, int quality);

} // namespace SnapshotWriter
