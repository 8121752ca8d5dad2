#pragma once

#include "ValueAction.h"

using TPrepareIntegerEvent = TValueAction<int>::PrepareEvent;
using TApplyIntegerEvent = TValueAction<int>::ApplyEvent;

// A 32-bit integer setting.
class TIntegerAction : public TValueAction<int>
{
    Q_OBJECT
  public:
    using TValueAction::TValueAction;

    // Decimal, or hexadecimal after "$"; text that is no integer sets -1.
    void SetFromText(const QString &text) override;

  protected:
    QString MacroArguments() const override;
    int ReadPreference(TPreferencesStore &store, const int &defaultValue) override;
    bool WritePreference(TPreferencesStore &store, const int &value) override;
    QString ScriptTypeName() const override { return QStringLiteral("integer"); }
    QString DefaultVariables() const override { return QStringLiteral("aInteger"); }
    int FromScriptArguments(const QVariantList &arguments) const override;
};
