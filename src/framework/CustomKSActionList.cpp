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

// The compile handler a list installs on its engine: the handler it found there first, then the
// list's own declarations while that hook lasts. A list that unhooks while later lists are
// chained behind it cannot take its link out of the middle; the link then only passes the
// compilation on.
struct TCustomKSActionList::CompileLink {
    TCustomKSActionList *list;
    std::weak_ptr<const int> hook;
    TScriptRegistrar::CompileHandler kept;

    void operator()(TScriptRegistrar &engine) const
    {
        if (kept)
            kept(engine);
        if (!hook.expired())
            list->RegisterActions(engine);
    }
};

void TCustomKSActionList::SetPascalScript(TScriptRegistrar *engine)
{
    if (engine == pascalScript_)
        return;
    if (pascalScript_) {
        const CompileLink *link = pascalScript_->OnCompile.target<CompileLink>();
        if (link && link->hook.lock() == hook_)
            pascalScript_->OnCompile = link->kept;
    }
    hook_.reset();
    pascalScript_ = engine;
    if (!engine)
        return;
    hook_ = std::make_shared<const int>(0);
    engine->OnCompile = CompileLink{this, hook_, engine->OnCompile};
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
