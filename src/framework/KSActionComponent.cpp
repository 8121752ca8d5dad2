#include "KSActionComponent.h"

TKSActionComponent::TKSActionComponent(QObject *owner)
    : TCustomKSActionList(owner),
      window_(
          new MessageWindow([this](uint32_t msg, WPARAM w, LPARAM l) { return WndProc(msg, w, l); }, this))
{
}

TKSActionComponent::~TKSActionComponent()
{
    delete window_;
}

void TKSActionComponent::Loaded()
{
    CreateActions();
    LinkActions();
    InitActions();
}

LRESULT TKSActionComponent::WndProc(uint32_t, WPARAM, LPARAM)
{
    return 0;
}
