// The floor the shell is measured against: a bare Win32 program built with the shell's toolchain
// and flags, one window of the shell's default size and a message loop, nothing else. Built
// twice: bare, for its size, and with WM_BENCH_PROBE, which lets the benchmark driver watch it
// (floor_block.h) and gives it the dispatch floor: a count of wake-ups arrives in WM_COPYDATA,
// and the loop handles them as the shell handles queued events, one posted wake-up at a time,
// each with one COM call.

#include <windows.h>

#ifdef WM_BENCH_PROBE
#include <objbase.h>

#include <charconv>

#include "floor_block.h"
#endif

namespace {

constexpr wchar_t kClassName[] = L"wispermoth.floor";

#ifdef WM_BENCH_PROBE
// WPARAM, LPARAM: unused. At most one is on its way, as with the shell's loop.
constexpr UINT kWakeMessage = WM_APP + 1;

// The driver's block and the floor's own dispatch state; the window procedure finds it in the
// window's user data.
class Probe {
public:
    Probe() {
        wchar_t name[128];
        const DWORD length = GetEnvironmentVariableW(bench::kFloorVariable, name, 100);
        if (length == 0 || length >= 100) return;
        mapping_ = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name);
        if (!mapping_) return;
        block_ = static_cast<bench::FloorBlock*>(
            MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(bench::FloorBlock)));
        lstrcatW(name, bench::kFloorEventSuffix);
        event_ = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
        (void)CreateStreamOnHGlobal(nullptr, TRUE, &stream_);
    }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;
    ~Probe() {
        if (stream_) stream_->Release();
        if (block_) UnmapViewOfFile(block_);
        if (mapping_) CloseHandle(mapping_);
        if (event_) CloseHandle(event_);
    }

    void shown(HWND window) {
        if (!block_) return;
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        block_->window = reinterpret_cast<std::intptr_t>(window);
        block_->shown_at = now.QuadPart;
        if (event_) SetEvent(event_);
    }
    void loop_turn() {
        if (block_) ++block_->loop_turns;
    }
    void procedure_call() {
        if (block_) ++block_->procedure_calls;
    }
    void add(HWND window, const COPYDATASTRUCT& data) {
        long long count = 0;
        const char* text = static_cast<const char*>(data.lpData);
        std::from_chars(text, text + data.cbData, count);
        pending_ += count;
        wake(window);
    }
    void handle_wake(HWND window) {
        wake_pending_ = false;
        if (pending_ > 0) {
            --pending_;
            const LARGE_INTEGER start{};
            if (stream_) (void)stream_->Seek(start, STREAM_SEEK_SET, nullptr);
            if (block_ && ++block_->handled == block_->handled_target && event_) SetEvent(event_);
        }
        wake(window);
    }

private:
    void wake(HWND window) {
        if (wake_pending_ || pending_ == 0) return;
        wake_pending_ = PostMessageW(window, kWakeMessage, 0, 0) != FALSE;
    }

    HANDLE mapping_ = nullptr;
    bench::FloorBlock* block_ = nullptr;
    HANDLE event_ = nullptr;
    IStream* stream_ = nullptr;
    long long pending_ = 0;
    bool wake_pending_ = false;
};
#endif

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
#ifdef WM_BENCH_PROBE
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
    if (auto* probe = reinterpret_cast<Probe*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
        probe->procedure_call();
        if (message == kWakeMessage) {
            probe->handle_wake(window);
            return 0;
        }
        if (message == WM_COPYDATA && lparam) {
            probe->add(window, *reinterpret_cast<const COPYDATASTRUCT*>(lparam));
            return TRUE;
        }
    }
#endif
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
#ifdef WM_BENCH_PROBE
    Probe probe;
    void* const creation_data = &probe;
#else
    void* const creation_data = nullptr;
#endif
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = kClassName;
    if (!RegisterClassExW(&window_class)) return 1;

    // The shell's default inner size.
    RECT frame{0, 0, 1200, 800};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    const HWND window = CreateWindowExW(0, kClassName, L"floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                        instance, creation_data);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
#ifdef WM_BENCH_PROBE
    probe.shown(window);
#endif

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
#ifdef WM_BENCH_PROBE
        probe.loop_turn();
#endif
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
