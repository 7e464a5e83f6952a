// The time the shell spends in the toast classes, measured by the stand-in toast classes' own
// log: a run's first toast makes the factories and the notifier, later ones only their document
// and toast.

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "driver/log.h"
#include "driver/measures.h"
#include "driver/stats.h"
#include "driver/toasts.h"

namespace bench {

void measure_toasts(const Paths& paths, int runs, Report& report) {
    constexpr int kToasts = 6;
    const e2e::ToastClasses classes(true);
    std::vector<double> first_us, later_us, ratio;
    // The first toast needs a new shell per sample.
    for (int run = 0; run < runs; ++run) {
        const auto log_path = paths.folder / (L"toast-" + std::to_wstring(run) + L".log");
        std::filesystem::remove(log_path);
        const Shell shell(paths, L"toasts-" + std::to_wstring(run), Shell::Watch::off,
                          {{L"TOAST_STANDIN_LOG", log_path.native()}});
        if (!shell.wait_for_navigate() || !shell.settle()) throw std::runtime_error("the shell did not get ready");
        for (int i = 0; i < kToasts; ++i)
            if (!shell.post("notify:toast " + std::to_string(i))) throw std::runtime_error("\"notify:\" refused");
        if (!shell.settle()) throw std::runtime_error("the shell did not answer after its toasts");
        const auto spans = e2e::toast_spans_us(e2e::StandinLog(log_path).entries());
        if (spans.size() != static_cast<std::size_t>(kToasts))
            throw std::runtime_error("the toast classes logged " + std::to_string(spans.size()) + " toasts");
        if (!shell.post("close") || !shell.process().wait_for_end()) throw std::runtime_error("the shell did not end");
        first_us.push_back(spans.front());
        std::vector<double> later(spans.begin() + 1, spans.end());
        std::sort(later.begin(), later.end());
        const double later_median = later[later.size() / 2];
        later_us.insert(later_us.end(), later.begin(), later.end());
        ratio.push_back(spans.front() / later_median);
    }
    report.add({"7 toast: time in the toast classes for a run's first toast, µs", format(spread(first_us), 0),
                format(spread(later_us), 0) + " (a later toast)", format(spread(ratio), 1), "—", ""});
    report.note("Toasts: " + std::to_string(runs) + " runs, each a fresh shell showing " + std::to_string(kToasts) +
                " toasts against the stand-in toast classes (tests/toast_standin). A toast's time runs from the "
                "first call the shell made into the classes for it (for the first toast: the first factory asked "
                "for) to the release of its document, the shell's last act for it, as the stand-in logs them. The "
                "ratio is per run: the first toast over the median of the later ones.");
}

}  // namespace bench
