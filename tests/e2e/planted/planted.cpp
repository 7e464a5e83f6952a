// A DLL planted beside the executable under the name of a system DLL: it leaves
// "<its own path>.loaded" when any process loads it. Its exports stand in for the functions a
// program might import from the DLL it poses as, so that a load by name would succeed.

#include <windows.h>

#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size())));
    const HANDLE file = CreateFileW((path + L".loaded").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}

// Every posed-as function fails: zero is failure for each of them.
extern "C" INT_PTR planted_failure() { return 0; }
