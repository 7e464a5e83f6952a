// The dispatcher over a fake host: what each message and window event does to the windows,
// the pages and the state files, and in which order.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bridge/dispatcher.h"
#include "features/state_text.h"

namespace wm {
namespace {

// Everything the fakes were asked to do, in order, as "<window>:<what>".
using Journal = std::vector<std::string>;

class FakeWebView final : public WebView {
public:
    FakeWebView(Journal& journal, WindowId id, std::string address)
        : address(std::move(address)), journal_(journal), id_(id) {}
    ~FakeWebView() override { journal_.push_back(tag("webview gone")); }
    std::optional<std::string> page_address() const override { return address; }
    void run_script(std::string_view script) override { journal_.push_back(tag("script " + std::string(script))); }
    void set_visible(bool visible) override { journal_.push_back(tag(visible ? "show" : "hide")); }
    void navigate(const std::string& to) override { journal_.push_back(tag("navigate " + to)); }
    void set_zoom(double zoom) override { journal_.push_back(tag("zoom " + format_zoom(zoom))); }

    std::optional<std::string> address;

private:
    std::string tag(const std::string& what) const { return std::to_string(id_) + ":" + what; }
    Journal& journal_;
    WindowId id_;
};

class FakeWindow final : public NativeWindow {
public:
    FakeWindow(Journal& journal, WindowId id) : journal_(journal), id_(id) {}
    ~FakeWindow() override { journal_.push_back(tag("window gone")); }
    WindowId id() const override { return id_; }
    bool is_minimized() const override { return minimized; }
    bool is_maximized() const override { return maximized; }
    void minimize() override { journal_.push_back(tag("minimize")); }
    void set_maximized(bool on) override { journal_.push_back(tag(on ? "maximize" : "restore")); }
    void start_drag(int hit_test) override { journal_.push_back(tag("drag " + std::to_string(hit_test))); }
    void set_always_on_top(bool on) override { journal_.push_back(tag(on ? "topmost" : "not topmost")); }
    void bring_forward() override { journal_.push_back(tag("bring forward")); }
    void apply_icon_variant(std::string_view word) override { journal_.push_back(tag("icon " + std::string(word))); }
    std::optional<WindowGeometry> logical_geometry() const override { return geometry; }
    std::optional<WindowGeometry> normal_geometry() const override { return normal; }
    void set_snap_area(const std::optional<CssRect>& area) override {
        journal_.push_back(tag(area ? "snap " + std::to_string(area->x) + " " + std::to_string(area->y) + " " +
                                          std::to_string(area->width) + " " + std::to_string(area->height)
                                    : "snap none"));
    }
    void show_badge(const Badge& badge) override {
        journal_.push_back(tag(badge.kind == BadgeKind::none ? "no badge" : "badge " + badge_description(badge)));
    }

    bool minimized = false;
    bool maximized = false;
    std::optional<WindowGeometry> geometry = WindowGeometry{10, 20, 300, 200};
    std::optional<WindowGeometry> normal = geometry;

private:
    std::string tag(const std::string& what) const { return std::to_string(id_) + ":" + what; }
    Journal& journal_;
    WindowId id_;
};

std::string describe(const WindowRequest& request, std::string_view start_script) {
    std::string text = "build " + request.address;
    if (const auto& g = request.geometry)
        text += " at " + std::to_string(g->x) + "," + std::to_string(g->y) + " " + std::to_string(g->width) + "x" +
                std::to_string(g->height);
    else
        text += " default place";
    text += request.always_on_top ? " top" : " not top";
    text += " icon=" + std::string(request.icon_variant);
    if (request.zoom != 1.0) text += " zoom=" + format_zoom(request.zoom);
    if (request.init_script != start_script) text += " with another script";
    return text;
}

class FakeHost final : public ShellHost {
public:
    FakeHost(Journal& journal, const ShellState& state) : journal_(journal), state_(state) {}
    void write_state_file(std::string_view name, std::string_view contents) override {
        journal_.push_back("file " + std::string(name) + "=" + std::string(contents));
    }
    void show_notification(const NotificationRequest& request) override {
        journal_.push_back("toast " + request.title + "|" + request.body);
    }
    bool apply_update() override {
        journal_.push_back("apply update");
        return update_starts;
    }

    bool set_autostart(bool on) override {
        journal_.push_back(on ? "autostart on" : "autostart off");
        return autostart_reads_on.value_or(on);
    }
    bool update_download_running() const override { return update_downloading; }
    bool update_downloaded() const override { return update_recorded; }
    bool read_autostart() override { return autostart_now; }
    // What the registry says when read without a change (Task Manager may have switched it).
    bool autostart_now = false;

    bool update_starts = false;
    bool update_downloading = false;
    bool update_recorded = true;
    // What the registry says after a change; by default what was asked.
    std::optional<bool> autostart_reads_on;
    std::optional<WindowRecord> build_window(const WindowRequest& request) override {
        journal_.push_back(describe(request, state_.init_script));
        return build(request);
    }

    // Set by the fixture: the window it lists for a request, or nothing for a failed build.
    std::function<std::optional<WindowRecord>(const WindowRequest&)> build;

private:
    Journal& journal_;
    const ShellState& state_;
};

constexpr WindowId kMain = 1;
constexpr WindowId kExtra = 2;
constexpr char kOnOrigin[] = "https://wispermoth.app/chat";

class DispatcherTest : public ::testing::Test {
protected:
    DispatcherTest() {
        add_window(kMain);
        state.main_window = kMain;
        state.init_script = "window.shellInfo={}";
        host.build = [this](const WindowRequest& request) -> std::optional<WindowRecord> {
            if (fail_builds) return std::nullopt;
            // A window placed as asked; the fake's default size stands for the system's place.
            auto record = make_window(next_id++, request.address);
            windows[record.native_window->id()]->geometry = request.geometry.value_or(WindowGeometry{0, 0, 1200, 800});
            return record;
        };
    }

    WindowRecord make_window(WindowId id, std::string address) {
        auto window = std::make_unique<FakeWindow>(journal, id);
        auto webview = std::make_unique<FakeWebView>(journal, id, std::move(address));
        windows[id] = window.get();
        webviews[id] = webview.get();
        return WindowRecord{std::move(window), std::move(webview), false, SnapPointer::outside};
    }

    void add_window(WindowId id) { state.windows.emplace(id, make_window(id, kOnOrigin)); }

    std::vector<WindowId> listed() const {
        std::vector<WindowId> ids;
        for (const auto& [id, record] : state.windows) ids.push_back(id);
        return ids;
    }

    LoopControl post(WindowId source, std::string message, std::string source_page = kOnOrigin) {
        LoopControl control = LoopControl::exit;
        handle_event(state, host, PageMessage{source, std::move(message), std::move(source_page)}, control);
        return control;
    }

    LoopControl download_ended(WindowId source, DownloadEnd end, std::string source_page = kOnOrigin) {
        LoopControl control = LoopControl::exit;
        handle_event(state, host, DownloadEnded{source, std::move(end), std::move(source_page)}, control);
        return control;
    }

    LoopControl window_event(WindowId id, WindowEventKind kind) {
        LoopControl control = LoopControl::exit;
        handle_event(state, host, WindowEvent{id, kind}, control);
        return control;
    }

    Journal take() { return std::exchange(journal, {}); }

    Journal journal;
    ShellState state;
    FakeHost host{journal, state};
    WindowId next_id = 10;
    bool fail_builds = false;
    std::map<WindowId, FakeWindow*> windows;
    std::map<WindowId, FakeWebView*> webviews;
};

TEST_F(DispatcherTest, EachMessageActsOnTheRightWindowsInOrder) {
    add_window(kExtra);
    struct Case {
        std::string message;
        Journal expected;
    };
    const Case cases[] = {
        {"top:1", {"file top=1", "1:topmost", "1:script shellTopState(true)", "2:topmost",
                   "2:script shellTopState(true)"}},
        {"top:0", {"file top=0", "1:not topmost", "1:script shellTopState(false)", "2:not topmost",
                   "2:script shellTopState(false)"}},
        {"bubble", {"file icon=bubble", "1:icon bubble", "1:script shellIconState('bubble')", "2:icon bubble",
                    "2:script shellIconState('bubble')"}},
        {"", {"file icon=", "1:icon ", "1:script shellIconState('')", "2:icon ", "2:script shellIconState('')"}},
        {"says", {"file icon=says", "1:icon says", "1:script shellIconState('says')", "2:icon says",
                  "2:script shellIconState('says')"}},
        {"update:fail", {"2:script shellUpdateState(false)"}},
        {"min", {"2:minimize"}},
        {"max", {"2:maximize"}},
        {"drag", {"2:drag 2"}},
        {"resize:n", {"2:drag 12"}},
        {"resize:nw", {"2:drag 13"}},
        {"resize:ne", {"2:drag 14"}},
        {"saved:a\\b'c.txt", {"2:script shellSaved('a\\\\b\\'c.txt')"}},
        {"saved:", {"2:script shellSaved('')"}},
        // Any accepted window raises the same toast, and the page hears nothing back.
        {"notify:Hello\nworld", {"toast Hello|world"}},
        {"notify:a\nb\nc", {"toast a|b\nc"}},
        {"snap:1100 0 40 32", {"2:snap 1100 0 40 32"}},
        {"snap:", {"2:snap none"}},
        {"snap:1100 0 40", {}},
        {"badge:3", {"1:badge 3 unread", "2:badge 3 unread"}},
        {"badge:", {"1:badge Unread", "2:badge Unread"}},
        {"badge:0", {"1:no badge", "2:no badge"}},
        {"badge:-1", {}},
        {"autostart:1", {"autostart on", "1:script shellAutostartState('1')", "2:script shellAutostartState('1')"}},
        {"autostart:0", {"autostart off", "1:script shellAutostartState('0')", "2:script shellAutostartState('0')"}},
        {"autostart:", {}},
        {"close ", {}},
        {"Bubble", {}},
        {"resize:se", {}},
        {"top:2", {}},
        {"hello", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("message: [" + c.message + "]");
        EXPECT_EQ(post(kExtra, c.message), LoopControl::wait);
        EXPECT_EQ(take(), c.expected);
    }
    EXPECT_FALSE(state.always_on_top);
    EXPECT_EQ(state.icon_variant, "says");
}

TEST_F(DispatcherTest, TheBadgeReachesLaterWindowsAndNewTaskbarButtonsOnlyOnceAPageSetOne) {
    // Before any badge nothing touches the taskbar: not a new window, not a new button.
    post(kMain, "window:/a");
    window_event(kMain, WindowEventKind::taskbar_button_created);
    EXPECT_EQ(take(), Journal{"build https://wispermoth.app/a at 50,60 300x200 not top icon="});
    post(kMain, "badge:12");
    post(kMain, "window:/b");
    window_event(kMain, WindowEventKind::taskbar_button_created);
    EXPECT_EQ(take(), (Journal{"1:badge 12 unread", "10:badge 12 unread",
                               "build https://wispermoth.app/b at 50,60 300x200 not top icon=",
                               "11:badge 12 unread", "1:badge 12 unread"}));
    post(kMain, "badge:0");
    take();
    window_event(kMain, WindowEventKind::taskbar_button_created);
    EXPECT_EQ(take(), Journal{});
}

TEST_F(DispatcherTest, EveryPageHearsTheAutostartStateAsReadBack) {
    host.autostart_reads_on = false;  // e.g. the Run key could not be written
    post(kMain, "autostart:1");
    EXPECT_EQ(take(), (Journal{"autostart on", "1:script shellAutostartState('0')"}));
    EXPECT_FALSE(state.autostart);
}

TEST_F(DispatcherTest, MaxTogglesFromTheLayersFlag) {
    windows[kMain]->maximized = true;
    post(kMain, "max");
    EXPECT_EQ(take(), Journal{"1:restore"});
}

TEST_F(DispatcherTest, ThePointerOverTheSnapAreaIsReportedAndAClickTogglesLikeMax) {
    add_window(kExtra);
    struct Case {
        const char* label;
        WindowEventKind kind;
        Journal expected;
    };
    const Case cases[] = {
        {"entered", WindowEventKind::snap_entered, {"2:script shellSnapState('hover')"}},
        {"moved on inside", WindowEventKind::snap_entered, {}},
        {"pressed", WindowEventKind::snap_pressed, {"2:script shellSnapState('press')"}},
        {"released", WindowEventKind::snap_released, {"2:script shellSnapState('hover')", "2:maximize"}},
        {"released again without a press", WindowEventKind::snap_released, {}},
        {"left", WindowEventKind::snap_left, {"2:script shellSnapState('')"}},
        {"left again", WindowEventKind::snap_left, {}},
        {"pressed from outside", WindowEventKind::snap_pressed, {"2:script shellSnapState('press')"}},
        {"left while pressed", WindowEventKind::snap_left, {"2:script shellSnapState('')"}},
        {"released outside", WindowEventKind::snap_released, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(window_event(kExtra, c.kind), LoopControl::wait);
        EXPECT_EQ(take(), c.expected);
    }
    windows[kExtra]->maximized = true;
    window_event(kExtra, WindowEventKind::snap_pressed);
    window_event(kExtra, WindowEventKind::snap_released);
    EXPECT_EQ(take(), (Journal{"2:script shellSnapState('press')", "2:script shellSnapState('hover')", "2:restore"}));
}

TEST_F(DispatcherTest, WithdrawingTheSnapAreaUnderThePointerLeavesIt) {
    post(kMain, "snap:1100 0 40 32");
    window_event(kMain, WindowEventKind::snap_entered);
    take();
    post(kMain, "snap:");
    EXPECT_EQ(take(), (Journal{"1:snap none", "1:script shellSnapState('')"}));
    window_event(kMain, WindowEventKind::snap_left);
    EXPECT_EQ(take(), Journal{});
}

TEST_F(DispatcherTest, ANewDocumentDropsTheSnapAreaWithoutTellingIt) {
    post(kMain, "snap:1100 0 40 32");
    window_event(kMain, WindowEventKind::snap_pressed);
    take();
    window_event(kMain, WindowEventKind::page_replaced);
    EXPECT_EQ(take(), Journal{"1:snap none"});
    // The press before the new document makes no click in it.
    window_event(kMain, WindowEventKind::snap_released);
    EXPECT_EQ(take(), Journal{});
}

TEST_F(DispatcherTest, MessagesFromElsewhereAreDropped) {
    struct Case {
        const char* label;
        WindowId source;
        std::optional<std::string> address;
        std::string posted_by = kOnOrigin;
    };
    const Case cases[] = {
        {"closed window", 99, kOnOrigin},
        {"page left the origin", kMain, "https://example.com/"},
        {"plain http", kMain, "http://wispermoth.app/"},
        {"address unreadable", kMain, std::nullopt},
        // The window shows the application again, but the message came from elsewhere.
        {"posted by a foreign page", kMain, kOnOrigin, "https://example.com/"},
        {"posted by a look-alike", kMain, kOnOrigin, "https://wispermoth.app.example.com/"},
        {"posting page unknown", kMain, kOnOrigin, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        webviews[kMain]->address = c.address;
        for (const char* message : {"top:1", "badge:3"}) post(c.source, message, c.posted_by);
        EXPECT_EQ(take(), Journal{});
        EXPECT_FALSE(state.always_on_top);
    }
}

// The update's download ending and the page's own "update:done" both apply it. The download is
// judged by the page that started it; the message, like every message, by the window too.
TEST_F(DispatcherTest, AFinishedUpdateEndsTheLoopOnlyWhenTheNewProcessStarted) {
    add_window(kExtra);
    struct Outcome {
        LoopControl control;
        Journal expected;
    };
    struct Case {
        const char* label;
        bool starts;
        std::string posted_by;
        std::optional<std::string> shown;
        WindowId window;
        Outcome message;
        Outcome download;
    };
    const Outcome applied{LoopControl::exit, {"apply update"}};
    const Outcome dropped{LoopControl::wait, {}};
    const Case cases[] = {
        {"applied", true, kOnOrigin, kOnOrigin, kExtra, applied, applied},
        {"failed",
         false,
         kOnOrigin,
         kOnOrigin,
         kExtra,
         {LoopControl::wait, {"apply update", "2:script shellUpdateState(false)"}},
         {LoopControl::wait, {"apply update", "2:script shellUpdateState(false)"}}},
        {"started by a foreign page", true, "https://example.com/", kOnOrigin, kExtra, dropped, dropped},
        {"window now off the origin", true, kOnOrigin, "https://example.com/", kExtra, dropped, applied},
        {"failed, window now off the origin",
         false,
         kOnOrigin,
         "https://example.com/",
         kExtra,
         dropped,
         {LoopControl::wait, {"apply update"}}},
        {"window closed", true, kOnOrigin, kOnOrigin, 7, dropped, applied},
    };
    for (const bool by_download : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.label) + (by_download ? ", download" : ", message"));
            host.update_starts = c.starts;
            webviews[kExtra]->address = c.shown;
            const LoopControl control =
                by_download ? download_ended(c.window, {DownloadEnd::Kind::update_finished, {}}, c.posted_by)
                            : post(c.window, "update:done", c.posted_by);
            const Outcome& expected = by_download ? c.download : c.message;
            EXPECT_EQ(control, expected.control);
            EXPECT_EQ(take(), expected.expected);
        }
    }
    // Ending the loop drops the windows; the dispatcher closes none itself.
    EXPECT_EQ(state.windows.size(), 2u);
}

TEST_F(DispatcherTest, NoUpdateIsAppliedNorRefusedWhileAnUpdateDownloadStillRunsOrWithoutOneOfItsOwn) {
    host.update_starts = true;
    for (const bool running : {true, false}) {
        host.update_downloading = running;
        host.update_recorded = running;
        EXPECT_EQ(post(kMain, "update:done", kOnOrigin), LoopControl::wait);
        EXPECT_EQ(download_ended(kMain, {DownloadEnd::Kind::update_finished, {}}, kOnOrigin), LoopControl::wait);
        EXPECT_EQ(take(), Journal{}) << running;
    }
}

TEST_F(DispatcherTest, AnotherDownloadsEndIsToldToThePageThatStartedIt) {
    using enum DownloadEnd::Kind;
    add_window(kExtra);
    struct Case {
        const char* label;
        WindowId window;
        DownloadEnd end;
        std::string started_by;
        Journal expected;
        std::string shown = kOnOrigin;
    };
    const Case cases[] = {
        {"update failed", kExtra, {update_failed, {}}, kOnOrigin, {"2:script shellUpdateState(false)"}},
        {"saved, name escaped", kExtra, {saved, "a\\b'c.txt"}, kOnOrigin, {"2:script shellSaved('a\\\\b\\'c.txt')"}},
        {"started by a foreign page", kExtra, {saved, "a.txt"}, "https://example.com/", {}},
        {"window already closed", 7, {saved, "a.txt"}, kOnOrigin, {}},
        {"window now off the origin", kExtra, {update_failed, {}}, kOnOrigin, {}, "https://example.com/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        webviews[kExtra]->address = c.shown;
        EXPECT_EQ(download_ended(c.window, c.end, c.started_by), LoopControl::wait);
        EXPECT_EQ(take(), c.expected);
    }
}

TEST_F(DispatcherTest, CloseRemovesOnlyTheSenderAndTellsTheOthers) {
    add_window(kExtra);
    EXPECT_EQ(post(kExtra, "close"), LoopControl::wait);
    EXPECT_EQ(take(), (Journal{"2:webview gone", "2:window gone", "1:script shellWindowsChanged(false)"}));
    EXPECT_EQ(post(kMain, "close"), LoopControl::exit);
    EXPECT_EQ(take(), (Journal{"1:webview gone", "1:window gone"}));
    EXPECT_TRUE(state.windows.empty());
}

TEST_F(DispatcherTest, WindowsChangedSaysWhetherThePickerIsStillOpen) {
    constexpr WindowId kPicker = 3;
    add_window(kExtra);
    add_window(kPicker);
    state.picker_window = kPicker;
    window_event(kExtra, WindowEventKind::close_requested);
    EXPECT_EQ(take(), (Journal{"2:webview gone", "2:window gone", "1:script shellWindowsChanged(true)",
                               "3:script shellWindowsChanged(true)"}));
    window_event(kPicker, WindowEventKind::close_requested);
    EXPECT_EQ(take(), (Journal{"3:webview gone", "3:window gone", "1:script shellWindowsChanged(false)"}));
}

TEST_F(DispatcherTest, NativeCloseOfTheLastWindowEndsTheLoop) {
    EXPECT_EQ(window_event(kMain, WindowEventKind::close_requested), LoopControl::exit);
    EXPECT_EQ(take(), (Journal{"1:webview gone", "1:window gone"}));
}

TEST_F(DispatcherTest, BackFromTheStripTakesOnlyThatWindowToTheApplicationsOrigin) {
    add_window(kExtra);
    webviews[kExtra]->address = "https://id.example.org/login";
    EXPECT_EQ(window_event(kExtra, WindowEventKind::back_requested), LoopControl::wait);
    EXPECT_EQ(take(), (Journal{"2:navigate https://wispermoth.app/"}));
}

TEST_F(DispatcherTest, SizeEventsSaveTheMainWindowAndReportMaximisingOnce) {
    add_window(kExtra);
    window_event(kMain, WindowEventKind::moved);
    EXPECT_EQ(take(), (Journal{"file window=pt 10 20 300 200", "1:show"}));

    // Maximised, the window keeps the rectangle it was maximised from.
    windows[kMain]->maximized = true;
    windows[kMain]->geometry = WindowGeometry{0, 0, 1920, 1040};
    window_event(kMain, WindowEventKind::resized);
    window_event(kMain, WindowEventKind::moved);
    EXPECT_EQ(take(), (Journal{"file window=pt 10 20 300 200 max", "1:show", "1:script shellMaxState(true)",
                               "file window=pt 10 20 300 200 max", "1:show"}));

    // Another window's events never save a placement.
    windows[kExtra]->maximized = true;
    window_event(kExtra, WindowEventKind::resized);
    EXPECT_EQ(take(), (Journal{"2:show", "2:script shellMaxState(true)"}));

    // Minimised and restored, the window stays maximised: the layer's flag drops meanwhile.
    windows[kMain]->maximized = false;
    windows[kMain]->minimized = true;
    window_event(kMain, WindowEventKind::resized);
    EXPECT_EQ(take(), (Journal{"1:hide"}));
    windows[kMain]->maximized = true;
    windows[kMain]->minimized = false;
    window_event(kMain, WindowEventKind::resized);
    EXPECT_EQ(take(), (Journal{"file window=pt 10 20 300 200 max", "1:show"}));

    window_event(99, WindowEventKind::resized);
    EXPECT_EQ(take(), Journal{});
}

TEST_F(DispatcherTest, OneWindowsZoomBecomesEveryWindowsAndTheNextStarts) {
    add_window(kExtra);
    const auto zoom = [this](WindowId id, double factor) {
        LoopControl control = LoopControl::exit;
        handle_event(state, host, ZoomChanged{id, factor}, control);
        return take();
    };
    EXPECT_EQ(zoom(kExtra, 1.25), (Journal{"file zoom=1.25", "1:zoom 1.25", "2:zoom 1.25"}));
    EXPECT_EQ(zoom(kMain, 1.25), Journal{});  // given by the shell, reported back
    EXPECT_EQ(zoom(kMain, 0.2), Journal{});   // below 25 %
    EXPECT_EQ(zoom(kMain, 5.5), Journal{});   // above 500 %
    post(kMain, "window:/b");
    EXPECT_NE(take().front().find(" zoom=1.25"), std::string::npos);
}

TEST_F(DispatcherTest, StateTellsOnlyTheAskingWindowItsCurrentStates) {
    add_window(kExtra);
    post(kMain, "top:1");
    post(kMain, "peek");
    windows[kExtra]->maximized = true;
    window_event(kExtra, WindowEventKind::resized);
    take();
    EXPECT_EQ(post(kExtra, "state:"), LoopControl::wait);
    EXPECT_EQ(take(), (Journal{"2:script shellMaxState(true)", "2:script shellTopState(true)",
                               "2:script shellIconState('peek')", "2:script shellAutostartState('0')"}));
}

TEST_F(DispatcherTest, StateReadsSignInStartAfresh) {
    host.autostart_now = true;
    post(kMain, "state:");
    EXPECT_EQ(take().back(), "1:script shellAutostartState('1')");
}

TEST_F(DispatcherTest, OnlyWindowsShowingTheApplicationAreToldAnything) {
    add_window(kExtra);
    webviews[kExtra]->address = "https://example.com/";
    for (const char* message : {"top:1", "bubble", "autostart:1", "window:/a"}) {
        post(kMain, message);
        for (const auto& entry : take()) EXPECT_FALSE(entry.starts_with("2:script")) << message << ": " << entry;
    }
}

TEST_F(DispatcherTest, UnreadablePlacementIsNotSaved) {
    windows[kMain]->normal.reset();
    window_event(kMain, WindowEventKind::resized);
    EXPECT_EQ(take(), Journal{"1:show"});
}

TEST_F(DispatcherTest, OnceTheMainWindowIsGoneNoPlacementIsSaved) {
    add_window(kExtra);
    post(kMain, "close");
    take();
    window_event(kExtra, WindowEventKind::moved);
    EXPECT_EQ(take(), Journal{"2:show"});
}

TEST_F(DispatcherTest, ExtraWindowsCascadeFromTheirSenderWithTheCurrentSettings) {
    struct Case {
        const char* label;
        std::vector<std::string> before;  // handled first, their effects not checked
        WindowId source;
        std::string message;
        Journal expected;  // the new window is listed exactly when it was built
    };
    const Case cases[] = {
        {"from the main window",
         {},
         kMain,
         "window:/chat",
         {"build https://wispermoth.app/chat at 50,60 300x200 not top icon="}},
        {"from the window it opened",
         {},
         10,
         "window:/",
         {"build https://wispermoth.app/ at 90,100 300x200 not top icon="}},
        // Current topmost state and icon; the page's script stays the start-up one.
        {"after the settings changed",
         {"top:1", "peek"},
         11,
         "window:/room?id=7",
         {"build https://wispermoth.app/room?id=7 at 130,140 300x200 top icon=peek"}},
        {"no path", {}, kMain, "window:", {}},
        {"no leading slash", {}, kMain, "window:chat", {}},
        {"two slashes", {}, kMain, "window://example.com/", {}},
        {"a blank", {}, kMain, "window:/a b", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        for (const auto& message : c.before) post(kMain, message);
        take();
        const std::size_t listed_before = state.windows.size();
        EXPECT_EQ(post(c.source, c.message), LoopControl::wait);
        EXPECT_EQ(take(), c.expected);
        EXPECT_EQ(state.windows.size(), listed_before + c.expected.size());
    }
    EXPECT_EQ(listed(), (std::vector<WindowId>{kMain, 10, 11, 12}));
    EXPECT_EQ(webviews[12]->address, "https://wispermoth.app/room?id=7");
    EXPECT_FALSE(state.picker_window);
}

TEST_F(DispatcherTest, AWindowOpenedFromAMinimisedOneGetsTheDefaultSizeAndPlace) {
    windows[kMain]->minimized = true;
    windows[kMain]->geometry.reset();  // a minimised window has no inner area
    for (const char* message : {"window:/x", "picker:/pick"}) {
        SCOPED_TRACE(message);
        post(kMain, message);
        const Journal built = take();
        ASSERT_EQ(built.size(), 1u);
        EXPECT_TRUE(built[0].ends_with(" default place not top icon=")) << built[0];
    }
    EXPECT_EQ(state.windows.size(), 3u);
}

TEST_F(DispatcherTest, AWindowThatCannotBeBuiltLeavesEverythingAsItWas) {
    fail_builds = true;
    for (const char* message : {"window:/chat", "picker:/pick"}) {
        SCOPED_TRACE(message);
        post(kMain, message);
        EXPECT_EQ(take().size(), 1u);
        EXPECT_EQ(listed(), std::vector<WindowId>{kMain});
        EXPECT_FALSE(state.picker_window);
    }
}

TEST_F(DispatcherTest, OnePickerAtItsOwnSizeBroughtForwardWhileOpenAndBuiltAgainOnceClosed) {
    struct Case {
        const char* label;
        WindowId source;
        std::string message;
        Journal expected;
        std::optional<WindowId> picker;
    };
    const Case cases[] = {
        {"opened", kMain, "picker:/pick", {"build https://wispermoth.app/pick at 50,60 380x620 not top icon="}, 10},
        {"asked again", kMain, "picker:/other", {"10:bring forward"}, 10},
        {"asked by itself", 10, "picker:/", {"10:bring forward"}, 10},
        {"no leading slash", kMain, "picker:pick", {}, 10},
        {"a blank", kMain, "picker:/a b", {}, 10},
        {"closed", 10, "close", {"10:webview gone", "10:window gone", "1:script shellWindowsChanged(false)"}, 10},
        {"opened again",
         kMain,
         "picker:/pick",
         {"build https://wispermoth.app/pick at 50,60 380x620 not top icon="},
         11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        post(c.source, c.message);
        EXPECT_EQ(take(), c.expected);
        EXPECT_EQ(state.picker_window, c.picker);
    }
    EXPECT_EQ(listed(), (std::vector<WindowId>{kMain, 11}));
    EXPECT_EQ(webviews[11]->address, "https://wispermoth.app/pick");
}

TEST_F(DispatcherTest, AClickOnANotificationBringsForwardTheMainWindowElseTheEarliestOpenedStillOpen) {
    // Identifiers are handle values, which say nothing of the order in which windows opened.
    next_id = 30;
    post(kMain, "window:/a");
    next_id = 20;
    post(kMain, "picker:/p");
    next_id = 25;
    post(20, "window:/b");
    take();
    struct Case {
        const char* label;
        std::optional<WindowId> closed;
        Journal expected;
    };
    const Case cases[] = {
        {"all open", std::nullopt, {"1:bring forward"}},
        {"main closed", kMain, {"30:bring forward"}},
        {"earliest left closed", 30, {"20:bring forward"}},
        {"picker closed", 20, {"25:bring forward"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.closed) window_event(*c.closed, WindowEventKind::close_requested);
        take();
        LoopControl control = LoopControl::exit;
        handle_event(state, host, NotificationClicked{}, control);
        EXPECT_EQ(control, LoopControl::wait);
        EXPECT_EQ(take(), c.expected);
    }
}

// The page hears a clicked notification's tag once, and only as a loaded document of the application.
TEST_F(DispatcherTest, AClickedTagIsToldOnceToTheApplicationsLoadedPage) {
    const std::string told = "1:script shellNotificationClicked('room:7')";
    const auto click = [&](std::string tag) {
        LoopControl control = LoopControl::exit;
        handle_event(state, host, NotificationClicked{std::move(tag)}, control);
    };
    struct Case {
        const char* label;
        std::function<void()> act;
        Journal expected;
    };
    const Case cases[] = {
        {"clicked while loading", [&] { click("room:7"); }, {"1:bring forward"}},
        {"another window loaded", [&] { window_event(kExtra, WindowEventKind::page_loaded); }, {}},
        {"loaded", [&] { window_event(kMain, WindowEventKind::page_loaded); }, {told}},
        {"loaded again", [&] { window_event(kMain, WindowEventKind::page_loaded); }, {}},
        {"clicked when loaded", [&] { click("room:7"); }, {"1:bring forward", told}},
        {"without a tag", [&] { click(""); }, {"1:bring forward"}},
        {"replaced", [&] { window_event(kMain, WindowEventKind::page_replaced); click("room:7"); },
         {"1:snap none", "1:bring forward"}},
        {"another site loaded", [&] { webviews[kMain]->address = "https://evil.example/"; window_event(kMain, WindowEventKind::page_loaded); }, {}},
        {"the application back", [&] { webviews[kMain]->address = kOnOrigin; window_event(kMain, WindowEventKind::page_loaded); }, {told}},
    };
    add_window(kExtra);
    take();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        c.act();
        EXPECT_EQ(take(), c.expected);
    }
}

}  // namespace
}  // namespace wm
