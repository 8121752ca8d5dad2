#pragma once

#include "ValueAction.h"

using TPrepareBooleanEvent = TValueAction<bool>::PrepareEvent;
using TApplyBooleanEvent = TValueAction<bool>::ApplyEvent;

// A Boolean setting. Setting it to the value it already holds does nothing.
class TBooleanAction : public TValueAction<bool>
{
    Q_OBJECT
  public:
    using TValueAction::TValueAction;

    // "true", "vrai", "t", "v" or a non-zero integer (blanks and case ignored) mean True.
    void SetFromText(const QString &text) override;

  protected:
    QString MacroArguments() const override;
    bool ReadPreference(TPreferencesStore &store, const bool &defaultValue) override;
    bool WritePreference(TPreferencesStore &store, const bool &value) override;
    QString ScriptTypeName() const override { return QStringLiteral("Boolean"); }
    QString DefaultVariables() const override { return QStringLiteral("aBoolean"); }
    bool FromScriptArguments(const QVariantList &arguments) const override;
};
