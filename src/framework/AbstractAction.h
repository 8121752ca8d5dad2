#pragma once

#include "CustomAbstractAction.h"

// The common base of the command and of the value settings (the two-state action derives from
// TCustomAbstractAction directly, as it drives its caption, hint and image itself).
class TAbstractAction : public TCustomAbstractAction
{
    Q_OBJECT
  public:
    using TCustomAbstractAction::TCustomAbstractAction;
};
