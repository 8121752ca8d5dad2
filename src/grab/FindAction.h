#pragma once

#include "framework/CustomKSActionList.h"

#include <QtGlobal>

// The action of type A that `list` holds under `internalId`. The catalogue guarantees every
// action the window serves, so a missing one is a programming error and stops the program at
// once. UI thread only.
template <class A> A *FindAction(const TCustomKSActionList &list, const char *internalId)
{
    auto *action = dynamic_cast<A *>(list.FindByInternalId(QString::fromLatin1(internalId)));
    if (!action)
        qFatal("The action %s is missing from the list %s", internalId, qPrintable(list.objectName()));
    return action;
}
