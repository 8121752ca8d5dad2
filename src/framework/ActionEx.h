#pragma once

#include <QPointer>
#include <QString>

class TCustomAbstractAction;

// How a command-line argument began: "+" on, "-" off, "/" toggle or run, anything else bare.
enum TSwitchMode { smPlus, smMinus, smSlash, smBare };

// One pending command-line entry: the action it targets (not owned), the text after "=" and
// the mode.
class TActionEx
{
  public:
    TActionEx(TCustomAbstractAction *action, TSwitchMode mode, const QString &value)
        : Action(action), Value(value), Mode(mode)
    {
    }

    QPointer<TCustomAbstractAction> Action;
    QString Value;
    TSwitchMode Mode;
};
