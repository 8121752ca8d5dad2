#pragma once

#include "Color.h"
#include "ValueAction.h"

using TPrepareColorEvent = TValueAction<TColor>::PrepareEvent;
using TApplyColorEvent = TValueAction<TColor>::ApplyEvent;

// A colour setting.
class TColorAction : public TValueAction<TColor>
{
    Q_OBJECT
  public:
    using TValueAction::TValueAction;

    // A colour identifier ("clSkyBlue") or an integer ("$0000FF"); other text changes nothing.
    void SetFromText(const QString &text) override;

  protected:
    QString MacroArguments() const override;
    TColor ReadPreference(TPreferencesStore &store, const TColor &defaultValue) override;
    bool WritePreference(TPreferencesStore &store, const TColor &value) override;
    QString ScriptTypeName() const override { return QStringLiteral("TColor"); }
    QString DefaultVariables() const override { return QStringLiteral("aColor"); }
    TColor FromScriptArguments(const QVariantList &arguments) const override;
};
