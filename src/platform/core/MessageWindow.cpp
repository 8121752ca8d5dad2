#include "MessageWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace
{

const QEvent::Type PostedEventType = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type WakeEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

struct PostedEvent : QEvent {
    PostedEvent(uint32_t m, WPARAM w, LPARAM l) : QEvent(PostedEventType), msg(m), wParam(w), lParam(l) {}
    uint32_t msg;
    WPARAM wParam;
    LPARAM lParam;
};

// A message sent from another thread, waiting in the queue of its target's thread. The sender
// owns a shared reference and sleeps on `released`.
struct PendingSend {
    HWND window;
    QThread *thread;
    uint32_t msg;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool released = false;
};

// All cross-thread state lives here, guarded by one mutex: the handle table and the queue of
// sent messages. Handlers always run without the mutex held.
struct Registry {
    std::mutex mutex;
    std::condition_variable sentQueued;   // wakes a waiting window thread
    std::condition_variable sendReleased; // wakes blocked senders
    std::unordered_map<HWND, MessageWindow *> windows;
    std::deque<std::shared_ptr<PendingSend>> sent;
    HWND nextHandle = 1;
};

Registry &TheRegistry()
{
    static Registry registry;
    return registry;
}

// The sent message being handled on this thread, so ReplyMessage can find its sender.
thread_local std::shared_ptr<PendingSend> CurrentSend;

void Release(Registry &r, PendingSend &pending, LRESULT result)
{
    std::lock_guard lock(r.mutex);
    if (pending.released)
        return;
    pending.result = result;
    pending.released = true;
    r.sendReleased.notify_all();
}

std::shared_ptr<PendingSend> TakeSentFor(QThread *thread)
{
    Registry &r = TheRegistry();
    std::lock_guard lock(r.mutex);
    for (auto it = r.sent.begin(); it != r.sent.end(); ++it) {
        if ((*it)->thread == thread) {
            auto pending = *it;
            r.sent.erase(it);
            return pending;
        }
    }
    return nullptr;
}

} // namespace

MessageWindow::MessageWindow(Handler handler, QObject *parent) : QObject(parent), handler_(std::move(handler))
{
    Registry &r = TheRegistry();
    std::lock_guard lock(r.mutex);
    handle_ = r.nextHandle++;
    r.windows[handle_] = this;
}

MessageWindow::~MessageWindow()
{
    // Unregister first so no new message can reach this object, then release every sender
    // still waiting for it.
    Registry &r = TheRegistry();
    std::lock_guard lock(r.mutex);
    r.windows.erase(handle_);
    for (auto it = r.sent.begin(); it != r.sent.end();) {
        if ((*it)->window == handle_) {
            (*it)->released = true;
            it = r.sent.erase(it);
        } else {
            ++it;
        }
    }
    r.sendReleased.notify_all();
}

bool MessageWindow::PostMessage(HWND window, uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    Registry &r = TheRegistry();
    std::lock_guard lock(r.mutex);
    auto it = r.windows.find(window);
    if (it == r.windows.end())
        return false;
    // Posting under the mutex: the destructor cannot run between lookup and post, and Qt drops
    // events still queued for an object when it is destroyed.
    QCoreApplication::postEvent(it->second, new PostedEvent(msg, wParam, lParam));
    return true;
}

LRESULT MessageWindow::SendMessage(HWND window, uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    Registry &r = TheRegistry();
    std::unique_lock lock(r.mutex);
    auto it = r.windows.find(window);
    if (it == r.windows.end())
        return 0;
    MessageWindow *target = it->second;
    QThread *thread = target->thread();
    if (thread == QThread::currentThread()) {
        lock.unlock();
        return target->Dispatch(msg, wParam, lParam);
    }
    auto pending = std::make_shared<PendingSend>(PendingSend{window, thread, msg, wParam, lParam});
    r.sent.push_back(pending);
    r.sentQueued.notify_all();
    QCoreApplication::postEvent(target, new QEvent(WakeEventType));
    r.sendReleased.wait(lock, [&] { return pending->released; });
    return pending->result;
}

bool MessageWindow::ReplyMessage(LRESULT result)
{
    if (!CurrentSend || CurrentSend->released)
        return false;
    Release(TheRegistry(), *CurrentSend, result);
    return true;
}

bool MessageWindow::InSendMessage()
{
    return CurrentSend && !CurrentSend->released;
}

void MessageWindow::DeliverSentMessages()
{
    Registry &r = TheRegistry();
    QThread *self = QThread::currentThread();
    while (auto pending = TakeSentFor(self)) {
        MessageWindow *target = nullptr;
        {
            std::lock_guard lock(r.mutex);
            auto it = r.windows.find(pending->window);
            if (it != r.windows.end())
                target = it->second;
        }
        LRESULT result = 0;
        if (target) {
            auto outer = std::exchange(CurrentSend, pending);
            result = target->handler_ ? target->handler_(pending->msg, pending->wParam, pending->lParam) : 0;
            CurrentSend = std::move(outer);
        }
        Release(r, *pending, result);
    }
}

bool MessageWindow::WaitDeliveringSent(const std::function<bool()> &done, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    Registry &r = TheRegistry();
    QThread *self = QThread::currentThread();
    for (;;) {
        DeliverSentMessages();
        if (done())
            return true;
        if (timeoutMs >= 0 && Clock::now() >= deadline)
            return done();
        // Sleep until a message is sent here, or briefly, since done() may change without notice.
        std::unique_lock lock(r.mutex);
        auto wake = Clock::now() + std::chrono::milliseconds(2);
        if (timeoutMs >= 0 && deadline < wake)
            wake = deadline;
        r.sentQueued.wait_until(lock, wake, [&] {
            for (const auto &p : r.sent)
                if (p->thread == self)
                    return true;
            return false;
        });
    }
}

bool MessageWindow::event(QEvent *e)
{
    if (e->type() == PostedEventType) {
        auto *posted = static_cast<PostedEvent *>(e);
        Dispatch(posted->msg, posted->wParam, posted->lParam);
        return true;
    }
    if (e->type() == WakeEventType) {
        DeliverSentMessages();
        return true;
    }
    return QObject::event(e);
}

LRESULT MessageWindow::Dispatch(uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    // A message handled directly is not a cross-thread send: hide any outer one from ReplyMessage.
    auto outer = std::exchange(CurrentSend, nullptr);
    LRESULT result = handler_ ? handler_(msg, wParam, lParam) : 0;
    CurrentSend = std::move(outer);
    return result;
}
