#pragma once
// The user data folder as the runtime treats it: the folder the host names, or
// "<executable>.WebView2" beside the host's executable; made when the environment is created;
// and held, with the options of the browser that uses it, for as long as that environment lives
// in any process.

#include <windows.h>

#include <memory>
#include <string>

#include "handles.h"

namespace standin {

class DataFolder {
public:
    // The folder the runtime uses for a host that passed `given` (null or empty: none).
    static std::wstring resolve(LPCWSTR given);

    // Makes the folder and takes it for a browser with these options. E_ACCESSDENIED when the
    // folder cannot be made or written; HRESULT_FROM_WIN32(ERROR_INVALID_STATE) when a live
    // environment, of this process or another, holds it with other options.
    static HRESULT claim(const std::wstring& folder, const std::wstring& options, std::shared_ptr<DataFolder>& claimed);

    explicit DataFolder(UniqueHandle hold) : hold_(std::move(hold)) {}

private:
    UniqueHandle hold_;  // a named mapping holding the options; it goes with the last holder
};

}  // namespace standin
