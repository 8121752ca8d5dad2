#include "platform/core/MessageWindow.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{

constexpr uint32_t WM_TEST = 0x2400;

// Runs the UI thread's event loop until done() or a generous limit, so a failing test ends.
bool ProcessEventsUntil(const std::function<bool()> &done)
{
    for (int i = 0; i < 5000 && !done(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

} // namespace

TEST(MessageWindow, PostedMessagesArriveInOrderFromAnyThread)
{
    std::vector<WPARAM> received;
    MessageWindow window([&](uint32_t msg, WPARAM w, LPARAM) {
        EXPECT_EQ(msg, WM_TEST);
        received.push_back(w);
        return 0;
    });
    constexpr int count = 2000;
    std::thread poster([&] {
        for (int i = 0; i < count; ++i)
            EXPECT_TRUE(MessageWindow::PostMessage(window.Handle(), WM_TEST, WPARAM(i)));
    });
    poster.join();
    EXPECT_TRUE(received.empty()) << "posting must not deliver before the loop runs";
    ASSERT_TRUE(ProcessEventsUntil([&] { return received.size() == count; }));
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(received[size_t(i)], WPARAM(i));
}

TEST(MessageWindow, SendOnTheWindowThreadCallsTheHandlerDirectly)
{
    MessageWindow window([](uint32_t, WPARAM w, LPARAM l) { return LRESULT(w) + l; });
    EXPECT_EQ(MessageWindow::SendMessage(window.Handle(), WM_TEST, 40, 2), 42);
    EXPECT_FALSE(MessageWindow::InSendMessage());
    EXPECT_FALSE(MessageWindow::ReplyMessage(1)) << "no cross-thread sender to reply to";
}

TEST(MessageWindow, SendFromAnotherThreadBlocksUntilHandled)
{
    std::atomic<bool> handled{false};
    MessageWindow window([&](uint32_t, WPARAM w, LPARAM) {
        EXPECT_TRUE(MessageWindow::InSendMessage());
        handled = true;
        return LRESULT(w * 2);
    });
    std::atomic<LRESULT> result{-1};
    std::atomic<bool> returned{false};
    std::thread sender([&] {
        result = MessageWindow::SendMessage(window.Handle(), WM_TEST, 21);
        EXPECT_TRUE(handled) << "the sender returned before the handler ran";
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned) << "a cross-thread send must wait for the window's thread";
    ASSERT_TRUE(ProcessEventsUntil([&] { return bool(returned); }));
    sender.join();
    EXPECT_EQ(result, 42);
}

TEST(MessageWindow, ReplyMessageReleasesTheSenderBeforeTheHandlerReturns)
{
    std::atomic<bool> senderReleased{false};
    MessageWindow window([&](uint32_t, WPARAM, LPARAM) {
        EXPECT_TRUE(MessageWindow::ReplyMessage(7));
        EXPECT_FALSE(MessageWindow::InSendMessage());
        // The handler goes on only once the sender has come back with the early reply.
        for (int i = 0; i < 5000 && !senderReleased; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_TRUE(senderReleased);
        return LRESULT(99); // ignored: the reply has been given
    });
    std::atomic<LRESULT> result{-1};
    std::thread sender([&] {
        result = MessageWindow::SendMessage(window.Handle(), WM_TEST);
        senderReleased = true;
    });
    ASSERT_TRUE(ProcessEventsUntil([&] { return bool(senderReleased); }));
    sender.join();
    EXPECT_EQ(result, 7);
}

TEST(MessageWindow, WaitingUiThreadDeliversSentMessagesSoAStopCannotDeadlock)
{
    // A streaming thread sends to the UI and only then finishes; the UI thread waits for it to
    // finish without running its event loop, as a stop does.
    std::atomic<bool> finished{false};
    int delivered = 0;
    MessageWindow window([&](uint32_t, WPARAM, LPARAM) {
        ++delivered;
        return 0;
    });
    std::thread streaming([&] {
        for (int i = 0; i < 3; ++i)
            MessageWindow::SendMessage(window.Handle(), WM_TEST);
        finished = true;
    });
    EXPECT_TRUE(MessageWindow::WaitDeliveringSent([&] { return bool(finished); }, 5000));
    streaming.join();
    EXPECT_EQ(delivered, 3);
}

TEST(MessageWindow, WaitDeliveringSentLeavesPostedMessagesQueuedAndTimesOut)
{
    int delivered = 0;
    MessageWindow window([&](uint32_t, WPARAM, LPARAM) {
        ++delivered;
        return 0;
    });
    MessageWindow::PostMessage(window.Handle(), WM_TEST);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(MessageWindow::WaitDeliveringSent([] { return false; }, 30));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    EXPECT_EQ(delivered, 0);
    ASSERT_TRUE(ProcessEventsUntil([&] { return delivered == 1; }));
}

TEST(MessageWindow, DestroyedWindowsRefuseMessagesAndReleaseWaitingSenders)
{
    auto window = std::make_unique<MessageWindow>([](uint32_t, WPARAM, LPARAM) { return LRESULT(1); });
    HWND handle = window->Handle();
    std::atomic<LRESULT> result{-1};
    std::thread sender([&] { result = MessageWindow::SendMessage(handle, WM_TEST); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    window.reset(); // before the UI thread ever delivers the send
    sender.join();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(MessageWindow::PostMessage(handle, WM_TEST));
    EXPECT_EQ(MessageWindow::SendMessage(handle, WM_TEST), 0);
    QCoreApplication::processEvents(); // the stale wake-up event must be harmless
}
