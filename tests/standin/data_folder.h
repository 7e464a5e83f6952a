#pragma once
// The user data folder as the runtime treats it: the folder the host names, or
// "<executable>.WebView2" beside the host's executable; made when the environment is created;
// taken, with the options of the browser that uses it, at the first controller, and held for as
// long as that environment lives in any process, and for a moment after its process ended (its
// browser processes end later).

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "handles.h"

namespace standin {

class DataFolder {
public:
    // The folder the runtime uses for a host that passed `given` (null or empty: none).
    static std::wstring resolve(LPCWSTR given);

    // Makes the folder for a browser with these options; E_ACCESSDENIED when the folder cannot be
    // made or written.
    static HRESULT make(const std::wstring& folder, const std::wstring& options, std::shared_ptr<DataFolder>& made);

    DataFolder(std::wstring folder, std::wstring options) : folder_(std::move(folder)), options_(std::move(options)) {}
    // One that saw its holder end notes when, for the environments made after it.
    ~DataFolder();

    // Takes the folder, once; HRESULT_FROM_WIN32(ERROR_INVALID_STATE) while a live environment of
    // another process holds it with other options, and for a moment after that process ended.
    HRESULT claim();
    // The browser's processes ended: the folder is free until the next claim.
    void release() noexcept { hold_ = UniqueHandle(); }

private:
    // When the holder seen ended, in the system's file time; nothing while it runs, or none seen.
    std::optional<ULONGLONG> holder_ended() const;

    std::wstring folder_;
    std::wstring options_;
    UniqueHandle hold_;    // a named mapping holding the holder's process id and options
    UniqueHandle holder_;  // the other process seen holding it
};

}  // namespace standin
