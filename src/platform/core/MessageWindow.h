#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

// Hidden message windows: numbered messages with two parameters, delivered on the thread that
// created the window (the UI thread). Windows are addressed by handle, so a streaming thread that
// outlives a window only sees its post or send fail, never a dangling object.
//
// - PostMessage never blocks; messages posted to one window arrive in the order they were posted.
// - SendMessage on the window's own thread calls the handler directly. From another thread it
//   blocks until the handler returns or calls ReplyMessage.
// - While the UI thread waits (WaitDeliveringSent), it keeps delivering messages sent to its
//   windows, so a streaming thread blocked in a send can never deadlock a stop.
using HWND = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

inline constexpr HWND NullWindow = 0;

class MessageWindow : public QObject
{
    Q_OBJECT
  public:
    // Called on the window's thread for every message; the result goes back to a sender.
    using Handler = std::function<LRESULT(uint32_t msg, WPARAM wParam, LPARAM lParam)>;

    explicit MessageWindow(Handler handler, QObject *parent = nullptr);
    ~MessageWindow() override;

    HWND Handle() const { return handle_; }

    // Any thread. False when no window has this handle.
    static bool PostMessage(HWND window, uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Any thread. Returns the handler's result, or 0 when the window does not exist (or is
    // destroyed before the message is handled).
    static LRESULT SendMessage(HWND window, uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Inside a handler of a message sent from another thread: releases the sender at once with
    // this result. False when the current message was not sent from another thread.
    static bool ReplyMessage(LRESULT result);
    // True while handling a message that another thread sent and has not been replied to.
    static bool InSendMessage();

    // On a window's thread: handles every message other threads have sent to its windows.
    static void DeliverSentMessages();
    // On a window's thread: waits until done() is true or timeoutMs has passed (negative: no
    // limit), delivering sent messages meanwhile but no posted ones. Returns done()'s last answer.
    static bool WaitDeliveringSent(const std::function<bool()> &done, int timeoutMs);

  protected:
    bool event(QEvent *e) override;

  private:
    LRESULT Dispatch(uint32_t msg, WPARAM wParam, LPARAM lParam);

    Handler handler_;
    HWND handle_;
};
