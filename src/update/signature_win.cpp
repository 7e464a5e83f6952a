#include "update/signature_win.h"

#include <windows.h>
// After windows.h, which they need.
#include <softpub.h>
#include <wintrust.h>

#include "host/system_library.h"

namespace wm {
namespace {

// Looked up in System32 alone (see host/system_library.h): a planted wintrust.dll must not judge
// the update.
struct WinTrust {
    decltype(&WinVerifyTrust) verify = host::system_function<decltype(&WinVerifyTrust)>(L"wintrust.dll", "WinVerifyTrust");
    decltype(&WTHelperProvDataFromStateData) provider_data =
        host::system_function<decltype(&WTHelperProvDataFromStateData)>(L"wintrust.dll", "WTHelperProvDataFromStateData");
    decltype(&WTHelperGetProvSignerFromChain) signer =
        host::system_function<decltype(&WTHelperGetProvSignerFromChain)>(L"wintrust.dll", "WTHelperGetProvSignerFromChain");
    decltype(&WTHelperGetProvCertFromChain) certificate =
        host::system_function<decltype(&WTHelperGetProvCertFromChain)>(L"wintrust.dll", "WTHelperGetProvCertFromChain");

    bool loaded() const { return verify && provider_data && signer && certificate; }
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

Signature read_signature(const std::wstring& path, HANDLE handle) {
    Signature signature;
    const WinTrust trust;
    if (!trust.loaded()) return signature;

    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = path.c_str();  // required; the handle decides what is read
    file.hFile = handle;
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

    // Whether the file is signed at all is the file's own business (its certificate table); the
    // answer here only says whether the signature holds, and whose it is.
    signature.verified = result == ERROR_SUCCESS;
    signature.signer_subject = signer_subject(trust, data.hWVTStateData);

    data.dwStateAction = WTD_STATEACTION_CLOSE;
    (void)trust.verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return signature;
}

}  // namespace wm
