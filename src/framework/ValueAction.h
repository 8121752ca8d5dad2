#pragma once

#include "AbstractAction.h"
#include "MacroRecorder.h"
#include "PreferencesStore.h"
#include "ScriptRegistrar.h"

#include <QPointer>

#include <functional>
#include <type_traits>

// A setting of value type T: its value, its default, and the two sets of events (the published
// ones belong to the window hosting the action, the Internal ones to the manager that owns it).
// Prepare events may change the value they are handed and refuse with false; apply events see
// the value. The derived classes give the text forms: macro line, script declaration, stored
// value and command-line conversion. UI thread only.
template <typename T> class TValueAction : public TAbstractAction
{
  public:
    using PrepareEvent = std::function<bool(T &value)>;
    using ApplyEvent = std::function<void(const T &value)>;

    using TAbstractAction::TAbstractAction;

    const T &Value() const { return value_; }
    const T &DefaultValue() const { return defaultValue_; }
    void SetDefaultValue(const T &value) { defaultValue_ = value; }

    PrepareEvent OnPrepare, OnDefault, BeforeSave;
    ApplyEvent OnBeforeApply, OnAfterApply;
    PrepareEvent InternalPrepare, InternalDefault, InternalBeforeSave;
    ApplyEvent InternalApply;

    // Takes the value, records it while a macro is being recorded, and applies it. A Boolean
    // set to the value it already has does nothing at all; every other type applies again.
    void SetValue(const T &value)
    {
        if constexpr (std::is_same_v<T, bool>) {
            if (value == value_)
                return;
        }
        value_ = value;
        TMacroRecording recording(ScriptName + MacroArguments());
        Apply();
    }

    // Without prepare events, executing a setting does nothing: only they can supply a value.
    void DoExecute() override
    {
        if (!OnPrepare && !InternalPrepare)
            return;
        T value{};
        if (OnPrepare && !OnPrepare(value))
            return;
        if (InternalPrepare && !InternalPrepare(value))
            return;
        SetValue(value);
    }

    void Apply() override
    {
        const T value = value_; // a handler may set the action again meanwhile
        if (OnBeforeApply)
            OnBeforeApply(value);
        if (InternalApply)
            InternalApply(value);
        if (OnAfterApply)
            OnAfterApply(value);
    }

    // The default handlers may adjust the default first; the stored value (or the default)
    // then becomes the value as it is, without recording.
    bool LoadFromPrefs(TPreferencesStore &store) override
    {
        try {
            if (OnDefault)
                OnDefault(defaultValue_);
            if (InternalDefault)
                InternalDefault(defaultValue_);
            value_ = ReadPreference(store, defaultValue_);
            if (ApplyWhenLoad)
                Apply();
            return true;
        } catch (...) {
            return false;
        }
    }

    // The before-save handlers may adjust the value that is saved, and the action's with it.
    bool SaveToPrefs(TPreferencesStore &store) override
    {
        try {
            if (BeforeSave)
                BeforeSave(value_);
            if (InternalBeforeSave)
                InternalBeforeSave(value_);
            return WritePreference(store, value_);
        } catch (...) {
            return false;
        }
    }

    QString ScriptDeclaration() override
    {
        return QStringLiteral("procedure %1(const %2:%3);")
            .arg(ScriptName, VariablesOr(DefaultVariables()), ScriptTypeName());
    }

    QString SwitchSyntax() override { return QStringLiteral("/%1=%2").arg(Switch, SwitchVariables()); }

    // The script procedure sets the value with its arguments.
    bool RegisterInScript(TScriptRegistrar &engine) override
    {
        if (ScriptName.isEmpty())
            return true;
        QPointer<TValueAction> self(this);
        return engine.DeclareRoutine(ScriptDeclaration(), [self](const QVariantList &arguments) {
            if (self)
                self->SetValue(self->FromScriptArguments(arguments));
        });
    }

  protected:
    // The macro line after the script name, for example "(12);".
    virtual QString MacroArguments() const = 0;
    virtual T ReadPreference(TPreferencesStore &store, const T &defaultValue) = 0;
    virtual bool WritePreference(TPreferencesStore &store, const T &value) = 0;
    // The parameter type and the parameter name(s) used when Variables is empty.
    virtual QString ScriptTypeName() const = 0;
    virtual QString DefaultVariables() const = 0;
    virtual QString SwitchVariables() { return VariablesOr(DefaultVariables()); }
    virtual T FromScriptArguments(const QVariantList &arguments) const = 0;

    static QString BooleanText(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }
    // A Pascal string literal: quoted, inner quotes doubled so the line reads back unchanged.
    static QString QuotedText(const QString &text)
    {
        return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QLatin1String("''")) +
               QLatin1Char('\'');
    }

    T value_{};
    T defaultValue_{};
};
