#include "Message.h"

namespace Script
{

QString Message::Line() const
{
    const QString kindText =
        kind == MessageKind::Error ? QStringLiteral("[Error]") : QStringLiteral("[Hint]");
    if (!hasPos)
        return kindText + QStringLiteral(": ") + text;
    return QStringLiteral("%1 (%2:%3): %4").arg(kindText).arg(pos.line).arg(pos.column).arg(text);
}

} // namespace Script
