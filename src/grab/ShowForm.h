#pragma once

#include "framework/ActionCatalogue.h"
#include "framework/KSActionList.h"
#include "framework/KSSwitch.h"
#include "framework/TessalyPreferences.h"

#include <QMainWindow>

#include <map>

class RegistryStore;

// The main window: it owns the preferences component and the program's action lists with the
// command-line switch, loads the preferences when first shown and saves them when it closes.
// UI thread only.
class TShowForm : public QMainWindow
{
    Q_OBJECT
  public:
    // `programFolder` (ending with "/") is where the portable INI file lives.
    explicit TShowForm(const QString &programFolder, RegistryStore *registry = nullptr);
    ~TShowForm() override;

    TTessalyPreferences gp;
    TKSSwitch &Switch() { return switch_; }
    TKSActionList &ActionList(ActionCatalogue::List which) { return *lists_.at(which); }

  protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

  private:
    void CreateLists();
    void LoadPreferences(TTessalyPreferences &store);
    void SavePreferences(TTessalyPreferences &store);
    void InKey(TTessalyPreferences &store, const QString &key,
               std::initializer_list<ActionCatalogue::List> lists, bool load);

    TKSSwitch switch_;
    std::map<ActionCatalogue::List, TKSActionList *> lists_;
    bool shownOnce_ = false;
};
