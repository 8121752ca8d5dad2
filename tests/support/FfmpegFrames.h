#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

// Pictures of a clip as the ffmpeg command decodes them, to compare ours with.

// Frames first .. first + count - 1 of the first video stream of `path`, scaled to `size`
// (bicubic), as RGB888 images; fewer when the clip ends or ffmpeg fails.
std::vector<QImage> FfmpegFrames(const QString &path, int first, int count, QSize size);

// Every picture of the first video stream at its stored `size`, handed to `take` with its index
// as it is decoded (BGRA, so nothing is kept). False when ffmpeg fails or decodes nothing.
bool FfmpegEveryFrame(const QString &path, QSize size, const std::function<void(int, const QImage &)> &take);

// Mean absolute difference per colour byte of two pictures; 255 when their sizes differ.
double MeanDifference(const QImage &a, const QImage &b);
