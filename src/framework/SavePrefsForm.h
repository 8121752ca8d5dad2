#pragma once

#include "PreferencesMan.h"

#include <QDialog>

#include <optional>

class QPushButton;
class TLinkEdit;

// The closing question asked when the preferences have no store yet: registry ("Normal"), INI
// file ("Portable") or nothing ("None"). Closing it without a button records no choice.
class TSavePrefsForm : public QDialog
{
    Q_OBJECT
  public:
    explicit TSavePrefsForm(QWidget *parent = nullptr);

    // Shows the dialog through the dialog service (headless: "None") and returns the choice.
    std::optional<TSavePreferences> Ask();
    std::optional<TSavePreferences> Choice() const { return choice_; }
    QPushButton *Button(TSavePreferences mode) const { return buttons_[mode]; }
    TLinkEdit *Label() const { return label_; }

  private:
    void Choose(TSavePreferences mode);

    TLinkEdit *label_;
    QPushButton *buttons_[3];
    std::optional<TSavePreferences> choice_;
};
