#include "SnapshotScaler.h"

#include "output/FitToAspect.h"

namespace SnapshotScaler
{

QSize OutputSize(const QSize &captured, const QSize &displayAspect)
{
    const EdgeRect fitted = FitToAspect(displayAspect.width(), displayAspect.height(),
                                        EdgeRect{0, 0, captured.width(), captured.height()}, 0, true);
    return {fitted.Width(), fitted.Height()};
}

QImage Stretch(const QImage &captured, const QSize &displayAspect)
{
    const QSize size = OutputSize(captured.size(), displayAspect);
    if (captured.isNull() || size.isEmpty())
        return {};
    const QImage scaled = size == captured.size()
                              ? captured
                              : captured.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return scaled.convertToFormat(QImage::Format_RGB888);
}

} // namespace SnapshotScaler
