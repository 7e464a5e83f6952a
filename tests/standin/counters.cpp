#include "counters.h"

#include "allocations.h"
#include "handles.h"
#include "text.h"

namespace standin {

std::unique_ptr<Counters> Counters::from_environment() {
    const auto name = environment_variable(kCountersVariable);
    if (!name) return std::make_unique<Counters>();
    const HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name->c_str());
    if (!mapping) return std::make_unique<Counters>();
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(CounterBlock));
    if (!view) {
        CloseHandle(mapping);
        return std::make_unique<Counters>();
    }
    // A view of its own for the executable's allocations, which go on until the process ends.
    static const bool counting_allocations = [mapping] {
        void* lasting = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(CounterBlock));
        count_executable_allocations(static_cast<CounterBlock*>(lasting));
        return lasting != nullptr;
    }();
    (void)counting_allocations;
    const HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, (*name + kCountersEventSuffix).c_str());
    return std::make_unique<Counters>(mapping, static_cast<CounterBlock*>(view), event);
}

void Counters::navigated(HWND page_window) const noexcept {
    if (!block_) return;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    std::int64_t unset = 0;
    if (!block_->navigated_at.compare_exchange_strong(unset, now.QuadPart)) return;
    block_->navigated_window = reinterpret_cast<std::intptr_t>(page_window);
    if (event_) SetEvent(event_);
}

void Counters::script_called() const noexcept {
    if (!block_) return;
    if (block_->scripts.fetch_add(1) + 1 == block_->script_target && event_) SetEvent(event_);
}

void Counters::outcome(bool posted) const noexcept {
    if (!block_) return;
    ++block_->outcomes;
    if (posted) ++block_->outcomes_posted;
}

void Counters::view_count(int change) const noexcept {
    if (block_) block_->standin_views += change;
}

void Counters::message_seen(HWND window, bool posted) const noexcept {
    if (!block_) return;
    // The stand-in's windows (its loop queue and page windows) belong to its module.
    const bool to_standin =
        window && GetWindowLongPtrW(window, GWLP_HINSTANCE) == reinterpret_cast<LONG_PTR>(this_module());
    if (posted) {
        ++block_->posted_taken;
        if (to_standin) ++block_->posted_to_standin;
    } else {
        ++block_->sent_seen;
        if (to_standin) ++block_->sent_to_standin;
    }
}

}  // namespace standin
