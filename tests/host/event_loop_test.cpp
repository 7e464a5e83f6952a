// The event loop's queue: posting order kept under a burst, one event at a time, never
// re-entrantly, also while a handler waits in a nested message loop.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/event_loop.h"

namespace wm::host {
namespace {

LoopEvent message(std::string text) {
    return PageMessage{0, std::move(text), {}};
}
const std::string& text_of(const LoopEvent& event) {
    return std::get<PageMessage>(event).message;
}

TEST(EventLoop, KeepsPostingOrderUnderABurst) {
    auto loop = EventLoop::create();
    ASSERT_TRUE(loop);
    constexpr int kBurst = 10000;
    const EventSender sender = loop->sender();
    for (int i = 0; i < kBurst; ++i) ASSERT_TRUE(sender.post(message(std::to_string(i))));

    std::vector<std::string> handled;
    bool inside = false;
    bool reentered = false;
    const int code = loop->run([&](const LoopEvent& event) {
        reentered = reentered || inside;
        inside = true;
        const std::string& text = text_of(event);
        handled.push_back(text);
        // Events posted while handling join the back of the queue.
        if (handled.size() == 1) (void)sender.post(message("late"));
        inside = false;
        return text != "late";
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
    (void)sender.post(message("first"));
    (void)sender.post(message("second"));

    std::vector<std::string> handled;
    loop->run([&](const LoopEvent& event) {
        const std::string& text = text_of(event);
        handled.push_back(text);
        if (text == "first") {
            // Like a window waiting for its web view: the loop pumps, the queue waits.
            bool task_ran = false;
            loop->defer([&] { task_ran = true; });
            EXPECT_TRUE(loop->run_until([&] { return task_ran; }));
            handled.push_back("waited");
        }
        return text != "second";
    });
    EXPECT_EQ(handled, (std::vector<std::string>{"first", "waited", "second"}));
}

TEST(EventLoop, PostingAfterTheLoopEndedIsDropped) {
    EventSender sender;
    {
        auto loop = EventLoop::create();
        ASSERT_TRUE(loop);
        sender = loop->sender();
        (void)sender.post(message("only"));
        loop->run([](const LoopEvent&) { return false; });
    }
    EXPECT_FALSE(sender.post(message("too late")));
}

}  // namespace
}  // namespace wm::host
