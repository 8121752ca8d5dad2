#pragma once

#include "ValueAction.h"

using TPrepareDoubleEvent = TValueAction<double>::PrepareEvent;
using TApplyDoubleEvent = TValueAction<double>::ApplyEvent;

// A floating-point setting.
class TDoubleAction : public TValueAction<double>
{
    Q_OBJECT
  public:
    using TValueAction::TValueAction;

    // A number with the user's decimal separator; text that is no number sets 0.
    void SetFromText(const QString &text) override;

  protected:
    // The number with up to 15 significant digits and a decimal point, as scripts read it.
    QString MacroArguments() const override;
    double ReadPreference(TPreferencesStore &store, const double &defaultValue) override;
    bool WritePreference(TPreferencesStore &store, const double &value) override;
    QString ScriptTypeName() const override { return QStringLiteral("Double"); }
    QString DefaultVariables() const override { return QStringLiteral("aDouble"); }
    double FromScriptArguments(const QVariantList &arguments) const override;
};
