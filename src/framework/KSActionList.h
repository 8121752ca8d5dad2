#pragma once

#include "CustomKSActionList.h"

// A plain action list: the main window's own settings and commands, and the script window's
// macro commands.
class TKSActionList : public TCustomKSActionList
{
    Q_OBJECT
  public:
    explicit TKSActionList(QObject *owner = nullptr) : TCustomKSActionList(owner) {}
};
