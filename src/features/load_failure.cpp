#include "features/load_failure.h"

#include "links/origin.h"

namespace wm {
namespace {

// The host of an address that passed the origin test.
std::string_view app_host(std::string_view address) {
    std::string_view authority = address.substr(std::string_view("https://").size());
    authority = authority.substr(0, authority.find_first_of("/\\?#"));
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    return authority.substr(0, authority.find(':'));
}

// What happened, after its subject; nothing for a load that is not a failure.
std::string failure_words(const LoadResult& result, bool app) {
    const int status = result.http_status;
    if (app && status >= 500 && status <= 599) return " answered with an error (HTTP " + std::to_string(status) + ")";
    // Any other answer is the server's: a 4xx, a foreign 5xx, a page that stopped itself after a
    // 200 (which the runtime reports as an aborted connection).
    if (status != 0 || result.success) return {};
    switch (result.error) {
    case LoadError::certificate:
        return " is not safe to open: its certificate is not valid";
    case LoadError::no_network:
        return " cannot be reached \u2014 no network";
    case LoadError::name_not_resolved:
        return " cannot be reached \u2014 its name was not found";
    case LoadError::timed_out:
        return " cannot be reached \u2014 no answer in time";
    default:
        return " cannot be reached";
    }
}

}  // namespace

LoadVerdict judge_load(const LoadResult& result) {
    if (result.error == LoadError::cancelled) return {AfterLoad::unchanged, {}};
    const bool app = in_app_origin(result.address);
    const std::string words = failure_words(result, app);
    if (words.empty()) return {};
    if (!app) return {AfterLoad::left_to_user, words.substr(1)};
    return {result.error == LoadError::certificate ? AfterLoad::retry_when_network_changes : AfterLoad::retry_by_itself,
            std::string(app_host(result.address)) + words};
}

}  // namespace wm
