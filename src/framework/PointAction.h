#pragma once

#include "ValueAction.h"

#include <QPoint>

using TPreparePointEvent = TValueAction<QPoint>::PrepareEvent;
using TApplyPointEvent = TValueAction<QPoint>::ApplyEvent;

// A point setting. Its default is (0, 0) unless a default handler supplies one.
class TPointAction : public TValueAction<QPoint>
{
    Q_OBJECT
  public:
    using TValueAction::SetValue;
    using TValueAction::TValueAction;

    void SetValue(int x, int y) { SetValue(QPoint(x, y)); }

    // "(x, y)" after trimming; a field that is no integer is 0. Text without the parentheses or
    // the comma changes nothing.
    void SetFromText(const QString &text) override;

  protected:
    QString MacroArguments() const override;
    QPoint ReadPreference(TPreferencesStore &store, const QPoint &defaultValue) override;
    bool WritePreference(TPreferencesStore &store, const QPoint &value) override;
    QString ScriptTypeName() const override { return QStringLiteral("integer"); }
    QString DefaultVariables() const override { return QStringLiteral("x,y"); }
    QPoint FromScriptArguments(const QVariantList &arguments) const override;
};
