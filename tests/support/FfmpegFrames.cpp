#include "FfmpegFrames.h"

#include <QProcess>

std::vector<QImage> FfmpegFrames(const QString &path, int first, int count, QSize size)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-i", path, "-map", "0:v:0", "-vf",
                            QString("select=between(n\\,%1\\,%2),scale=%3:%4:flags=bicubic")
                                .arg(first)
                                .arg(first + count - 1)
                                .arg(size.width())
                                .arg(size.height()),
                            "-vsync", "passthrough", "-frames:v", QString::number(count), "-f", "rawvideo",
                            "-pix_fmt", "rgb24", "-"});
    ffmpeg.waitForFinished(60000);
    const QByteArray bytes = ffmpeg.readAllStandardOutput();
    const qsizetype frameBytes = qsizetype(size.width()) * size.height() * 3;
    std::vector<QImage> frames;
    for (qsizetype at = 0; at + frameBytes <= bytes.size(); at += frameBytes)
        frames.push_back(QImage(reinterpret_cast<const uchar *>(bytes.constData() + at), size.width(),
                                size.height(), size.width() * 3, QImage::Format_RGB888)
                             .copy());
    return frames;
}

bool FfmpegEveryFrame(const QString &path, QSize size, const std::function<void(int, const QImage &)> &take)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-i", path, "-map", "0:v:0", "-f", "rawvideo", "-pix_fmt", "bgra",
                            "-vsync", "passthrough", "-"});
    const qint64 bytes = qint64(size.width()) * size.height() * 4;
    QByteArray picture;
    int index = 0;
    while (ffmpeg.state() != QProcess::NotRunning || ffmpeg.bytesAvailable() > 0) {
        if (ffmpeg.bytesAvailable() == 0 && !ffmpeg.waitForReadyRead(10000))
            break;
        picture += ffmpeg.read(bytes - picture.size());
        if (picture.size() == bytes) {
            take(index++, QImage(reinterpret_cast<const uchar *>(picture.constData()), size.width(),
                                 size.height(), QImage::Format_RGB32));
            picture.clear();
        }
    }
    return ffmpeg.exitCode() == 0 && index > 0;
}

double MeanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB888), y = b.convertToFormat(QImage::Format_RGB888);
    if (x.size() != y.size())
        return 255;
    int64_t sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar *p = x.constScanLine(row), *q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 3; ++i)
            sum += std::abs(p[i] - q[i]);
    }
    return double(sum) / (double(x.width()) * x.height() * 3);
}
