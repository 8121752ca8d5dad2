#pragma once

#include "Font.h"
#include "ValueAction.h"

using TPrepareFontEvent = TValueAction<TFont>::PrepareEvent;
using TApplyFontEvent = TValueAction<TFont>::ApplyEvent;

// A font setting (the inlay font). Its script procedure takes the name, size, colour and the
// four styles; it has no command-line form.
class TFontAction : public TValueAction<TFont>
{
    Q_OBJECT
  public:
    using TValueAction::SetValue;
    using TValueAction::TValueAction;

    void SetValue(const QString &name, int size, TColor color, bool bold, bool italic, bool underline,
                  bool strikeOut);

    // Fonts are not given as text: nothing happens.
    void SetFromText(const QString &) override {}
    QString ScriptDeclaration() override;

  protected:
    QString MacroArguments() const override;
    TFont ReadPreference(TPreferencesStore &store, const TFont &defaultValue) override;
    bool WritePreference(TPreferencesStore &store, const TFont &value) override;
    QString ScriptTypeName() const override { return QString(); }
    QString DefaultVariables() const override { return QString(); }
    QString SwitchVariables() override { return Variables.isEmpty() ? QStringLiteral("aFont") : Variables; }
    TFont FromScriptArguments(const QVariantList &arguments) const override;
};
