#include "ProgramIdentity.h"

namespace ProgramIdentity
{

namespace
{

constexpr int KMajor = 1;
constexpr int KMinor = 0;
constexpr int KRelease = 0;
const char *const KLanguage = "en";

} // namespace

QString Version()
{
    return QStringLiteral("%1.%2.%3").arg(KMajor).arg(KMinor).arg(KRelease);
}

QString Title()
{
    return QStringLiteral("Kestrin %1 %2").arg(Version(), QLatin1String(KLanguage));
}

QString Maker()
{
    return QStringLiteral("Marvo Tessaly");
}

} // namespace ProgramIdentity
