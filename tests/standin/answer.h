#pragma once
// The host's answer to an event that offers a deferral (new window, permission, download). The
// runtime reads the answer when the handlers have returned and every deferral handed out has
// been completed, whichever comes last.

#include <functional>
#include <memory>

#include "com_support.h"

namespace standin {

class PendingAnswer : public std::enable_shared_from_this<PendingAnswer> {
public:
    // Called once, with whether the host took a deferral.
    using Reader = std::function<void(bool deferred)>;

    // The reader comes after the event's arguments exist, since it reads them.
    void set_reader(Reader reader) { reader_ = std::move(reader); }

    // For GetDeferral: the answer now also waits for this deferral's Complete.
    HRESULT defer(ICoreWebView2Deferral** deferral);
    // The handlers have all returned.
    void handlers_returned() { release(); }

private:
    friend class Deferral;
    void release();

    Reader reader_;
    int holds_ = 1;  // the handlers' call itself
    bool deferred_ = false;
};

class Deferral final : public ComObject<ICoreWebView2Deferral> {
public:
    explicit Deferral(std::shared_ptr<PendingAnswer> answer) : answer_(std::move(answer)) {}
    HRESULT STDMETHODCALLTYPE Complete() noexcept override;

private:
    // Emptied by Complete. A deferral dropped without Complete keeps the answer waiting for
    // ever, as a real runtime's event would.
    std::shared_ptr<PendingAnswer> answer_;
};

}  // namespace standin
