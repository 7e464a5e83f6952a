// Checks the origin test, and the scheme rule for addresses handed to the system, each against a
// second reading of the same rules written as a character walk instead of searching and slicing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/product.h"
#include "links/external_scheme.h"
#include "links/origin.h"

namespace {

// The origin's labels must end the host; with `exact`, nothing may stand before them.
bool walk_reading(std::string_view address, bool exact) {
    const std::string_view scheme = "https://";
    if (address.size() < scheme.size() || address.substr(0, scheme.size()) != scheme) return false;

    // The host starts over after every "@"; a ":" switches to the port until the next "@", and a
    // port at the end makes another origin.
    std::string host;
    bool in_port = false;
    for (std::size_t i = scheme.size(); i < address.size(); ++i) {
        const char c = address[i];
        if (c == '/' || c == '\\' || c == '?' || c == '#') break;
        if (c == '@') {
            host.clear();
            in_port = false;
        } else if (c == ':') {
            in_port = true;
        } else if (!in_port) {
            host += c;
        }
    }
    if (in_port) return false;

    // Compare label by label from the right: the origin's labels must end the host, and any
    // labels left over make a subdomain.
    const std::string origin(wm::kOriginHost);
    if (host.size() < origin.size()) return false;
    for (std::size_t i = 1; i <= origin.size(); ++i) {
        if (host[host.size() - i] != origin[origin.size() - i]) return false;
    }
    return host.size() == origin.size() || (!exact && host[host.size() - origin.size() - 1] == '.');
}

// The scheme is everything before the first ":", lower-cased letter by letter.
bool scheme_walk_reading(std::string_view address) {
    std::string scheme;
    for (const char c : address) {
        if (c == ':') return scheme == "http" || scheme == "https" || scheme == "mailto";
        scheme += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
    }
    return false;
}

void check(std::string_view address) {
    if (wm::in_app_origin(address) != walk_reading(address, false)) std::abort();
    if (wm::in_exact_app_origin(address) != walk_reading(address, true)) std::abort();
    if (wm::has_external_scheme(address) != scheme_walk_reading(address)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    check(input);
    // Random bytes rarely spell the scheme and the host; these put them around the input.
    check("https://" + std::string(input));
    check("https://" + std::string(input) + std::string(wm::kOriginHost));
    check("https://" + std::string(wm::kOriginHost) + std::string(input));
    check(std::string(input) + "://");
    return 0;
}
