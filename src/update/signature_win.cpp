#include "update/signature_win.h"

#include <windows.h>
// After windows.h, which they need.
#include <softpub.h>
#include <wintrust.h>

#include "host/handles.h"

namespace wm {
namespace {

using UniqueModule = host::UniqueHandleOf<HMODULE, &FreeLibrary>;

template <class Function>
Function module_function(HMODULE module, const char* name) noexcept {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// wintrust.dll is looked up at run time in System32 alone: the import table names only DLLs that
// Windows never takes from the executable's folder, and a planted one must not judge the update.
struct WinTrust {
    UniqueModule module{LoadLibraryExW(L"wintrust.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)};
    decltype(&WinVerifyTrust) verify = module_function<decltype(&WinVerifyTrust)>(module.get(), "WinVerifyTrust");
    decltype(&WTHelperProvDataFromStateData) provider_data =
        module_function<decltype(&WTHelperProvDataFromStateData)>(module.get(), "WTHelperProvDataFromStateData");
    decltype(&WTHelperGetProvSignerFromChain) signer =
        module_function<decltype(&WTHelperGetProvSignerFromChain)>(module.get(), "WTHelperGetProvSignerFromChain");
    decltype(&WTHelperGetProvCertFromChain) certificate =
        module_function<decltype(&WTHelperGetProvCertFromChain)>(module.get(), "WTHelperGetProvCertFromChain");

    bool loaded() const { return module && verify && provider_data && signer && certificate; }
};

// The subject of the signer's own certificate, from the state WinVerifyTrust kept; empty when it
// found no signer.
std::string signer_subject(const WinTrust& trust, HANDLE state) {
    CRYPT_PROVIDER_DATA* provider = trust.provider_data(state);
    CRYPT_PROVIDER_SGNR* signer = provider ? trust.signer(provider, 0, FALSE, 0) : nullptr;
    CRYPT_PROVIDER_CERT* certificate = signer ? trust.certificate(signer, 0) : nullptr;
    if (!certificate || !certificate->pCert || !certificate->pCert->pCertInfo) return {};
    const CERT_NAME_BLOB& subject = certificate->pCert->pCertInfo->Subject;
    return std::string(reinterpret_cast<const char*>(subject.pbData), subject.cbData);
}

}  // namespace

Signature read_signature(const std::wstring& path) {
    Signature signature;
    signature.present = true;  // until WinVerifyTrust says otherwise
    const WinTrust trust;
    if (!trust.loaded()) return signature;

    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = path.c_str();
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    // Nothing from the network: an update must not wait on, or be decided by, a remote server.
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_NONE;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG result = trust.verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);

    signature.present = result != TRUST_E_NOSIGNATURE;
    signature.verified = result == ERROR_SUCCESS;
    if (signature.present) signature.signer_subject = signer_subject(trust, data.hWVTStateData);

    data.dwStateAction = WTD_STATEACTION_CLOSE;
    (void)trust.verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return signature;
}

}  // namespace wm
