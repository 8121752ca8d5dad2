#include "MacroRecorder.h"

QStringList *MacroTarget = nullptr;
bool MacroNested = false;

TMacroRecording::TMacroRecording(const QString &line, Line write)
{
    if (!RecordingOn())
        return;
    if (write == Line::Write)
        MacroTarget->append(QStringLiteral("    ") + line);
    MacroNested = true;
    raised_ = true;
}

TMacroRecording::~TMacroRecording()
{
    if (raised_)
        MacroNested = false;
}
