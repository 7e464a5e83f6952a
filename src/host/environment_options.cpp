#include "host/environment_options.h"

#include <cwchar>
#include <string>


namespace wm::host {
namespace {

constexpr wchar_t kBrowserArguments[] =
    L"--disable-features=msWebOOUI,msPdfOOUI,msSmartScreenProtection --autoplay-policy=no-user-gesture-required";
// The oldest runtime whose interfaces the shell's declarations match.
constexpr wchar_t kTargetCompatibleVersion[] = L"86.0.616.0";

std::wstring user_interface_locale() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const LCID lcid = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    if (LCIDToLocaleName(lcid, name, LOCALE_NAME_MAX_LENGTH, 0) > 0) return name;
    if (GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) > 0) return name;
    return L"en-US";
}

// Getters hand out copies the caller frees with CoTaskMemFree.
HRESULT copy_out(const std::wstring& value, LPWSTR* out) noexcept {
    if (!out) return E_POINTER;
    const size_t bytes = (value.size() + 1) * sizeof(wchar_t);
    *out = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*out) return E_OUTOFMEMORY;
    std::wmemcpy(*out, value.c_str(), value.size() + 1);
    return S_OK;
}

class EnvironmentOptions final : public ComObject<ICoreWebView2EnvironmentOptions> {
public:
    EnvironmentOptions() : language_(user_interface_locale()) {}

    HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) noexcept override {
        return copy_out(arguments_, value);
    }
    HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR value) noexcept override {
        return store(arguments_, value);
    }
    HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) noexcept override { return copy_out(language_, value); }
    HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR value) noexcept override { return store(language_, value); }
    HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) noexcept override {
        return copy_out(target_version_, value);
    }
    HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR value) noexcept override {
        return store(target_version_, value);
    }
    HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* allow) noexcept override {
        if (!allow) return E_POINTER;
        *allow = allow_single_sign_on_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL allow) noexcept override {
        allow_single_sign_on_ = allow;
        return S_OK;
    }

private:
    static HRESULT store(std::wstring& field, LPCWSTR value) noexcept {
        try {
            field = value ? value : L"";
            return S_OK;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

    std::wstring arguments_ = kBrowserArguments;
    std::wstring language_;
    std::wstring target_version_ = kTargetCompatibleVersion;
    BOOL allow_single_sign_on_ = FALSE;
};

}  // namespace

ComPtr<ICoreWebView2EnvironmentOptions> make_environment_options() { return make_com<EnvironmentOptions>(); }

}  // namespace wm::host
