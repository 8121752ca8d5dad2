#include "CustomKSActionList.h"

#include "KSSwitch.h"
#include "PreferencesStore.h"
#include "ScriptRegistrar.h"

TCustomKSActionList::TCustomKSActionList(QObject *owner) : QObject(owner) {}

TCustomKSActionList::~TCustomKSActionList()
{
    SetSwitch(nullptr);
    SetPascalScript(nullptr);
}

TCustomAbstractAction *TCustomKSActionList::FindByInternalId(const QString &internalId) const
{
    for (TCustomAbstractAction *action : actions_)
        if (action->InternalId == internalId)
            return action;
    return nullptr;
}

bool TCustomKSActionList::LoadFromPrefs(TPreferencesStore &store)
{
    bool ok = true;
    for (TCustomAbstractAction *action : QList(actions_))
        if (action->IncludePrefs && !action->LoadFromPrefs(store))
            ok = false;
    if (OnLoadFromPrefs && !OnLoadFromPrefs(store))
        ok = false;
    return ok;
}

bool TCustomKSActionList::SaveToPrefs(TPreferencesStore &store)
{
    bool ok = true;
    for (TCustomAbstractAction *action : QList(actions_))
        if (action->IncludePrefs && !action->SaveToPrefs(store))
            ok = false;
    if (OnSaveToPrefs && !OnSaveToPrefs(store))
        ok = false;
    return ok;
}

void TCustomKSActionList::SetPascalScript(TScriptRegistrar *engine)
{
    if (engine == pascalScript_)
        return;
    if (pascalScript_)
        pascalScript_->OnCompile = keptCompileHandler_;
    keptCompileHandler_ = nullptr;
    pascalScript_ = engine;
    if (!engine)
        return;
    keptCompileHandler_ = engine->OnCompile;
    // The handler outlives nothing it points to: once the list is gone it only passes the
    // compilation on down the chain.
    QPointer<TCustomKSActionList> self(this);
    auto kept = keptCompileHandler_;
    engine->OnCompile = [self, kept](TScriptRegistrar &compiling) {
        if (kept)
            kept(compiling);
        if (self)
            self->RegisterActions(compiling);
    };
}

void TCustomKSActionList::RegisterActions(TScriptRegistrar &engine)
{
    for (TCustomAbstractAction *action : QList(actions_))
        action->RegisterInScript(engine);
}

void TCustomKSActionList::SetSwitch(TKSSwitch *newSwitch)
{
    if (newSwitch == switch_)
        return;
    if (switch_)
        switch_->RemoveList(this);
    switch_ = newSwitch;
    if (newSwitch)
        newSwitch->AddList(this);
}

void TCustomKSActionList::AddAction(TCustomAbstractAction *action)
{
    if (!actions_.contains(action))
        actions_.append(action);
}

void TCustomKSActionList::RemoveAction(TCustomAbstractAction *action)
{
    actions_.removeAll(action);
}
