#pragma once
// The handlers the host registered for one event, each under its own token.

#include <windows.h>
#include <eventtoken.h>

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "host/com.h"
#include "log.h"

namespace standin {

using wm::host::ComPtr;

// Tokens unique across all the events of one object, so that a token removed from the wrong
// event finds nothing there.
class TokenSource {
public:
    std::int64_t next() noexcept { return next_++; }

private:
    std::int64_t next_ = 1;
};

template <class Handler>
class EventRegistry {
public:
    explicit EventRegistry(std::string_view event) : event_(event) {}

    HRESULT add(Handler* handler, EventRegistrationToken* token, TokenSource& tokens,
                const Reporter& reporter) {
        if (!handler || !token) return E_POINTER;
        token->value = tokens.next();
        handlers_.emplace_back(token->value, ComPtr<Handler>(handler));
        reporter.write("handler_added", event_);
        return S_OK;
    }

    // An unknown token is no error, as with the real runtime; only a removal is logged.
    HRESULT remove(EventRegistrationToken token, const Reporter& reporter) {
        const auto before = handlers_.size();
        std::erase_if(handlers_, [&](const auto& entry) { return entry.first == token.value; });
        if (handlers_.size() != before) reporter.write("handler_removed", event_);
        return S_OK;
    }

    // At Close: the runtime releases its references to every handler then.
    void clear() noexcept { handlers_.clear(); }

    // A copy, since a handler may add or remove handlers while it runs.
    std::vector<ComPtr<Handler>> handlers() const {
        std::vector<ComPtr<Handler>> result;
        result.reserve(handlers_.size());
        for (const auto& entry : handlers_) result.push_back(entry.second);
        return result;
    }

private:
    std::string_view event_;
    std::vector<std::pair<std::int64_t, ComPtr<Handler>>> handlers_;
};

}  // namespace standin
