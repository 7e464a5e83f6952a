#include "host/download_watch.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace wm::host {
namespace {

// Only for downloads whose events stopped: the events themselves come at once.
constexpr std::chrono::milliseconds kStatePeriod{500};

// Nothing while it runs.
std::optional<COREWEBVIEW2_DOWNLOAD_STATE> end_state(ICoreWebView2DownloadOperation& operation) {
    COREWEBVIEW2_DOWNLOAD_STATE state = COREWEBVIEW2_DOWNLOAD_STATE_INTERRUPTED;
    if (SUCCEEDED(operation.get_State(&state)) && state == COREWEBVIEW2_DOWNLOAD_STATE_IN_PROGRESS)
        return std::nullopt;
    return state;
}

}  // namespace

DownloadWatch::~DownloadWatch() {
    loop_.stop_ticking();
    for (Held& held : held_)
        if (held.subscribed) (void)held.operation->remove_StateChanged(held.token);
}

void DownloadWatch::follow(ComPtr<ICoreWebView2DownloadOperation> operation, FinishedDownload download,
                           Finished finished) {
    download.order = next_id_;
    Held held{next_id_++, std::move(operation), {}, false, std::move(download), std::move(finished)};
    held.subscribed = SUCCEEDED(held.operation->add_StateChanged(
        make_handler<ICoreWebView2StateChangedEventHandler>(
            [this, id = held.id](ICoreWebView2DownloadOperation*, IUnknown*) { check(id); })
            .get(),
        &held.token));
    held_.push_back(std::move(held));
    if (held_.size() == 1) loop_.start_ticking(kStatePeriod, [this] { check_all(); });
}

bool DownloadWatch::running(const std::function<bool(const FinishedDownload&)>& matches) const {
    return std::ranges::any_of(
        held_, [&](const Held& held) { return matches(held.download) && !end_state(*held.operation.get()); });
}

void DownloadWatch::check(std::uint64_t id) {
    const auto found = std::ranges::find(held_, id, &Held::id);
    if (found == held_.end()) return;
    const auto state = end_state(*found->operation.get());
    if (!state) return;
    Held ended = std::move(*found);
    held_.erase(found);
    if (held_.empty()) loop_.stop_ticking();
    // May release the handler that called this: nothing of it is used afterwards.
    if (ended.subscribed) (void)ended.operation->remove_StateChanged(ended.token);
    ended.download.completed = *state == COREWEBVIEW2_DOWNLOAD_STATE_COMPLETED;
    CoTaskString path;
    if (ended.download.completed && SUCCEEDED(ended.operation->get_ResultFilePath(path.put())) && path.get())
        ended.download.result_path = std::u16string(reinterpret_cast<const char16_t*>(path.get()));
    ended.finished(ended.download);
}

void DownloadWatch::check_all() {
    std::vector<std::uint64_t> ids;
    for (const Held& held : held_) ids.push_back(held.id);
    for (const std::uint64_t id : ids) check(id);
}

}  // namespace wm::host
