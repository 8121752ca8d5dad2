#pragma once

#include "ValueAction.h"

using TPrepareWideStringEvent = TValueAction<QString>::PrepareEvent;
using TApplyWideStringEvent = TValueAction<QString>::ApplyEvent;

// A text setting.
class TWidestringAction : public TValueAction<QString>
{
    Q_OBJECT
  public:
    using TValueAction::TValueAction;

    // Any text, unchanged.
    void SetFromText(const QString &text) override;

  protected:
    QString MacroArguments() const override;
    QString ReadPreference(TPreferencesStore &store, const QString &defaultValue) override;
    bool WritePreference(TPreferencesStore &store, const QString &value) override;
    QString ScriptTypeName() const override { return QStringLiteral("widestring"); }
    QString DefaultVariables() const override { return QStringLiteral("aWidestring"); }
    QString FromScriptArguments(const QVariantList &arguments) const override;
};
