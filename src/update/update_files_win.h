#pragma once
// The update files beside the running executable.

#include <functional>
#include <optional>

#include "host/event_loop.h"
#include "host/handles.h"
#include "update/update_paths.h"

namespace wm {

// Derived from the running executable's path; nothing when that path cannot be obtained.
std::optional<UpdatePaths> update_paths();

// Deletes the leftovers of an earlier update.
void clean_update_files();

// Swaps the staged file in for the running executable, starts it and waits for it to prove
// itself, pumping the loop's messages meanwhile; only when the staged file is `downloaded`.
// `before_start` runs once the new build's process exists, before it runs.
UpdateOutcome apply_update(host::EventLoop& loop, const FileIdentity& downloaded,
                           std::function<void()> before_start);

// What a process started as an update holds of its predecessor; both empty otherwise.
struct UpdateStart {
    host::UniqueKernelHandle ready;        // the event the predecessor waits on
    host::UniqueKernelHandle predecessor;  // the process that started this one
};

// Taken at start-up, before anything else: the variable that named the event leaves the
// environment, so that no later child sees it.
UpdateStart take_update_start();

// Once the first window's web view exists, or earlier when the predecessor's browser stands in
// its way: sets the event, waits a bounded time for the predecessor to end (pumping the loop's
// messages), then deletes its leftovers. `start` is spent: a later call does nothing.
void report_update_ready(UpdateStart& start, host::EventLoop& loop);

}  // namespace wm
