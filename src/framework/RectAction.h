#pragma once

#include "Rect.h"
#include "ValueAction.h"

using TPrepareRectEvent = TValueAction<TRect>::PrepareEvent;
using TApplyRectEvent = TValueAction<TRect>::ApplyEvent;

// A rectangle setting (window bounds, for the actions whose names end in "Save"). Its default
// is all zero unless a default handler supplies one. Scripts and macro lines give the edges in
// the order left, right, top, bottom; the command line in the order left, top, right, bottom.
class TRectAction : public TValueAction<TRect>
{
    Q_OBJECT
  public:
    using TValueAction::SetValue;
    using TValueAction::TValueAction;

    void SetValue(int left, int right, int top, int bottom) { SetValue(TRect{left, top, right, bottom}); }

    // "(left, top, right, bottom)"; text of another form changes nothing.
    void SetFromText(const QString &text) override;

  protected:
    QString MacroArguments() const override;
    TRect ReadPreference(TPreferencesStore &store, const TRect &defaultValue) override;
    bool WritePreference(TPreferencesStore &store, const TRect &value) override;
    QString ScriptTypeName() const override { return QStringLiteral("integer"); }
    QString DefaultVariables() const override { return QStringLiteral("left,right,top,bottom"); }
    // The command line takes the four edges as one parenthesized text.
    QString SwitchVariables() override
    {
        return Variables.isEmpty() || Variables == DefaultVariables() ? QStringLiteral("aRect") : Variables;
    }
    TRect FromScriptArguments(const QVariantList &arguments) const override;
};
