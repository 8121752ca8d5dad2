#pragma once

#include <QImage>
#include <QSize>

// Turns a captured frame, taken at the video's stored pixel size, into the snapshot that is shown
// and saved: the frame stretched to the display aspect, correcting the pixel aspect by shrinking
// one dimension and cropping nothing. Pure functions: any thread may call them.
namespace SnapshotScaler
{

// The largest size of proportion `displayAspect` (x, y) inside `captured`; `captured` itself when
// either aspect term is not positive. A 720 x 576 frame shown as 16:9 gives 720 x 405.
QSize OutputSize(const QSize &captured, const QSize &displayAspect);

// The whole `captured` frame smoothly stretched to OutputSize, as 24-bit RGB; a null image when
// the frame is empty.
QImage Stretch(const QImage &captured, const QSize &displayAspect);

} // namespace SnapshotScaler
