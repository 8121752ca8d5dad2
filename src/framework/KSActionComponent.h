#pragma once

#include "CustomKSActionList.h"

#include "platform/core/MessageWindow.h"

// The base of the manager components: an action list that owns the actions it serves and a
// hidden message window through which streaming threads reach it. A manager creates its
// actions, finds them by internal identifier and wires their internal handlers; subclasses
// override the three steps and call the inherited version first. UI thread only.
class TKSActionComponent : public TCustomKSActionList
{
    Q_OBJECT
  public:
    explicit TKSActionComponent(QObject *owner = nullptr);
    ~TKSActionComponent() override;

    // The hidden window's handle, for posting and sending messages to this component.
    HWND Handle() const { return window_->Handle(); }

    // Runs the three steps once the component is in place: CreateActions, LinkActions,
    // InitActions.
    void Loaded();

  protected:
    // Every message sent or posted to the hidden window; by default ignored (result 0).
    virtual LRESULT WndProc(uint32_t msg, WPARAM wParam, LPARAM lParam);
    // Sets the texts of the component's actions and assigns their internal handlers.
    virtual void InitActions() {}
    // Creates the component's actions with their names, identifiers, script names and keys.
    virtual void CreateActions() {}
    // Finds the component's actions by internal identifier, keeps references to them and
    // chooses the switch for the list.
    virtual void LinkActions() {}

  private:
    MessageWindow *window_;
};
