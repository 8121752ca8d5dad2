#include "TestMedia.h"

namespace TestMedia
{

QString Path(const QString &name)
{
    return QStringLiteral(KESTRIN_TEST_MEDIA_DIR "/") + name;
}

QString SharedPath(const QString &relative)
{
    return QStringLiteral(KESTRIN_SHARED_MEDIA_DIR "/") + relative;
}

} // namespace TestMedia
