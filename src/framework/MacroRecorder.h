#pragma once

#include <QString>
#include <QStringList>

// The macro recorder's state, shared by every typed action. The script window points
// MacroTarget at its macro text while recording and clears it when recording stops. MacroNested
// is raised while a recorded change is being applied, so whatever its handlers change in turn
// is not recorded again. UI thread only, like the actions themselves.
extern QStringList *MacroTarget;
extern bool MacroNested;

// One recorded change, as a scope: on construction it appends `line` (after the four leading
// blanks every macro line carries) when recording is on, and raises MacroNested; on destruction
// it lowers MacroNested again if it raised it, also when an apply handler throws.
class TMacroRecording
{
  public:
    enum class Line { Write, Suppress };

    explicit TMacroRecording(const QString &line, Line write = Line::Write);
    ~TMacroRecording();
    TMacroRecording(const TMacroRecording &) = delete;
    TMacroRecording &operator=(const TMacroRecording &) = delete;

    static bool RecordingOn() { return MacroTarget && !MacroNested; }

  private:
    bool raised_ = false;
};
