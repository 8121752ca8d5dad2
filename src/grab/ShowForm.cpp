#include "ShowForm.h"

#include "framework/ProgramIdentity.h"

#include <QCloseEvent>

using L = ActionCatalogue::List;

TShowForm::TShowForm(const QString &programFolder, RegistryStore *registry)
    : gp(QStringLiteral("Kestrin"), programFolder, registry), switch_(this)
{
    setWindowTitle(QStringLiteral("%1 by %2").arg(ProgramIdentity::Title(), ProgramIdentity::Maker()));
    resize(960, 640);
    gp.version = ProgramIdentity::Title() + QStringLiteral(" by ") + ProgramIdentity::Maker();
    gp.OnLoadPrefs = [this](TTessalyPreferences &store) { LoadPreferences(store); };
    gp.OnSavePrefs = [this](TTessalyPreferences &store) { SavePreferences(store); };
    switch_.MainWindow = this;
    CreateLists();
}

TShowForm::~TShowForm() = default;

void TShowForm::CreateLists()
{
    // Hook order of the switch: the main window's lists; the script window's take no switches.
    const L order[] = {L::am,     L::gpal,   L::vidman,    L::audman,
                       L::NavMan, L::ficman, L::al_script, L::ficman_script};
    for (L which : order) {
        auto *list = new TKSActionList(this);
        list->setObjectName(ActionCatalogue::ListName(which));
        ActionCatalogue::CreateActions(*list, which);
        if (which != L::al_script && which != L::ficman_script)
            list->SetSwitch(&switch_);
        lists_[which] = list;
    }
}

void TShowForm::InKey(TTessalyPreferences &store, const QString &key, std::initializer_list<L> lists,
                      bool load)
{
    store.OpenKey(key);
    for (L which : lists) {
        if (load)
            lists_.at(which)->LoadFromPrefs(store);
        else
            lists_.at(which)->SaveToPrefs(store);
    }
    store.CloseKey();
}

void TShowForm::LoadPreferences(TTessalyPreferences &store)
{
    InKey(store, QStringLiteral("ScriptForm"), {L::al_script, L::ficman_script}, true);
    InKey(store, QStringLiteral("ShowForm"), {L::am, L::vidman, L::audman, L::NavMan, L::gpal, L::ficman},
          true);
}

void TShowForm::SavePreferences(TTessalyPreferences &store)
{
    InKey(store, QStringLiteral("ShowForm"), {L::ficman, L::gpal, L::NavMan, L::audman, L::vidman, L::am},
          false);
    InKey(store, QStringLiteral("ScriptForm"), {L::ficman_script, L::al_script}, false);
}

void TShowForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!std::exchange(shownOnce_, true))
        gp.LoadAtStart();
}

void TShowForm::closeEvent(QCloseEvent *event)
{
    if (gp.SaveAtClosing())
        event->accept();
    else
        event->ignore();
}
