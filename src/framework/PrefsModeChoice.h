#pragma once

#include "PreferencesMan.h"

#include <QGroupBox>

#include <functional>

class QButtonGroup;

// The options-page choice of where the preferences go when the program quits. Choosing an item
// calls OnChoose with its mode at once; SetMode shows a mode without calling it.
class TPrefsModeChoice : public QGroupBox
{
    Q_OBJECT
  public:
    explicit TPrefsModeChoice(QWidget *parent = nullptr);

    void SetMode(TSavePreferences mode);
    TSavePreferences Mode() const;
    std::function<void(TSavePreferences)> OnChoose;

  private:
    QButtonGroup *group_;
};
