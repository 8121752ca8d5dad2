#include "media/PositionText.h"

#include <cmath>

namespace
{

constexpr int64_t UnitsPerSecond = 10'000'000;
constexpr int64_t UnitsPerMillisecond = 10'000;

// The integer value of `count` characters from 0-based index `from`; 0 when they are not one.
int64_t PartValue(const QString &text, qsizetype from, qsizetype count)
{
    if (from < 0 || count <= 0)
        return 0;
    bool ok = false;
    const int64_t value = text.mid(from, count).toLongLong(&ok);
    return ok ? value : 0;
}

} // namespace

QString PositionText(int64_t position, int64_t frameDuration)
{
    const int64_t d = frameDuration == 0 ? UnitsPerMillisecond : frameDuration;
    const int64_t q = int64_t(std::nearbyint(double(position) / double(d))) * d;
    int64_t seconds = q / UnitsPerSecond;
    int64_t rest = q % UnitsPerSecond;
    // A position within half a frame of the next second belongs to that second.
    if (UnitsPerSecond - rest < d / 2) {
        rest = 0;
        ++seconds;
    }
    const int64_t frames = int64_t(std::nearbyint(double(rest) / double(d)));
    return QString::asprintf("%lld:%.2lld:%.2lld:%.2lld", static_cast<long long>(seconds / 3600),
                             static_cast<long long>((seconds / 60) % 60),
                             static_cast<long long>(seconds % 60), static_cast<long long>(frames));
}

int64_t ParsePositionText(const QString &text, int64_t frameDuration)
{
    const qsizetype n = text.size();
    const int64_t hours = PartValue(text, 0, n - 9);
    const int64_t minutes = PartValue(text, n - 8, 2);
    const int64_t seconds = PartValue(text, n - 5, 2);
    const int64_t frames = PartValue(text, n - 2, 2);
    return (hours * 3600 + minutes * 60 + seconds) * UnitsPerSecond + frames * frameDuration;
}
