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

}  // namespace

LoadVerdict judge_load(const LoadResult& result) {
    if (result.error == LoadError::cancelled) return {AfterLoad::unchanged, {}};
    const bool app = in_app_origin(result.address);
    const bool server_error = result.http_status >= 500 && result.http_status <= 599;
    if (result.success && !(app && server_error)) return {};
    const std::string subject = app ? std::string(app_host(result.address)) : "This page";
    switch (result.error) {
    case LoadError::certificate:
        return {AfterLoad::wait_for_user, subject + " is not safe to open: its certificate is not valid"};
    case LoadError::no_network:
        return {AfterLoad::retry_by_itself, subject + " cannot be reached \u2014 no network"};
    case LoadError::name_not_resolved:
        return {AfterLoad::retry_by_itself, subject + " cannot be reached \u2014 its name was not found"};
    case LoadError::timed_out:
        return {AfterLoad::retry_by_itself, subject + " cannot be reached \u2014 no answer in time"};
    default:
        break;
    }
    if (result.http_status >= 400)
        return {AfterLoad::retry_by_itself,
                subject + " answered with an error (HTTP " + std::to_string(result.http_status) + ")"};
    return {AfterLoad::retry_by_itself, subject + " cannot be reached"};
}

}  // namespace wm
