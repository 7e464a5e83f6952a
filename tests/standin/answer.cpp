#include "answer.h"

namespace standin {

HRESULT PendingAnswer::defer(ICoreWebView2Deferral** deferral) {
    if (!deferral) return E_POINTER;
    const auto object = wm::host::make_com<Deferral>(shared_from_this());
    if (!object) return E_OUTOFMEMORY;
    ++holds_;
    deferred_ = true;
    return hand_out(object.get(), deferral);
}

void PendingAnswer::release() {
    if (--holds_ > 0) return;
    auto reader = std::move(reader_);
    reader_ = nullptr;
    if (reader) reader(deferred_);
}

HRESULT STDMETHODCALLTYPE Deferral::Complete() noexcept {
    // A second Complete is the host's mistake; the answer was read already.
    if (!answer_) return E_UNEXPECTED;
    std::exchange(answer_, nullptr)->release();
    return S_OK;
}

}  // namespace standin
