// The event loop's queue: posting order kept under a burst, one event at a time, never
// re-entrantly, also while a handler waits in a nested message loop.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/event_loop.h"

namespace wm::host {
namespace {

TEST(EventLoop, KeepsPostingOrderUnderABurst) {
    auto loop = EventLoop::create();
    ASSERT_TRUE(loop);
    constexpr int kBurst = 10000;
    const EventSender sender = loop->sender();
    for (int i = 0; i < kBurst; ++i) ASSERT_TRUE(sender.post(std::to_string(i)));

    std::vector<std::string> handled;
    bool inside = false;
    bool reentered = false;
    const int code = loop->run([&](const std::any& event) {
        reentered = reentered || inside;
        inside = true;
        const auto& message = std::any_cast<const std::string&>(event);
        handled.push_back(message);
        // Events posted while handling join the back of the queue.
        if (handled.size() == 1) (void)sender.post(std::string("late"));
        inside = false;
        return message != "late";
    });

    EXPECT_EQ(code, 0);
    EXPECT_FALSE(reentered);
    ASSERT_EQ(handled.size(), static_cast<size_t>(kBurst + 1));
    for (int i = 0; i < kBurst; ++i) ASSERT_EQ(handled[i], std::to_string(i));
    EXPECT_EQ(handled.back(), "late");
}

TEST(EventLoop, NestedWaitHoldsQueuedEventsBack) {
    auto loop = EventLoop::create();
    ASSERT_TRUE(loop);
    const EventSender sender = loop->sender();
    (void)sender.post(std::string("first"));
    (void)sender.post(std::string("second"));

    std::vector<std::string> handled;
    loop->run([&](const std::any& event) {
        const auto& message = std::any_cast<const std::string&>(event);
        handled.push_back(message);
        if (message == "first") {
            // Like a window waiting for its web view: the loop pumps, the queue waits.
            bool task_ran = false;
            loop->defer([&] { task_ran = true; });
            EXPECT_TRUE(loop->run_until([&] { return task_ran; }));
            handled.push_back("waited");
        }
        return message != "second";
    });
    EXPECT_EQ(handled, (std::vector<std::string>{"first", "waited", "second"}));
}

TEST(EventLoop, PostingAfterTheLoopEndedIsDropped) {
    EventSender sender;
    {
        auto loop = EventLoop::create();
        ASSERT_TRUE(loop);
        sender = loop->sender();
        (void)sender.post(std::string("only"));
        loop->run([](const std::any&) { return false; });
    }
    EXPECT_FALSE(sender.post(std::string("too late")));
}

}  // namespace
}  // namespace wm::host
