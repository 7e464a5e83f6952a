// A new build that never builds a window: it leaves "<its own path>.ran" as the trace that it
// ran, then ends at once with exit code 1, or, when E2E_FAKE_BUILD_RUNS_ON is set, runs on
// without a word until its case ends it.

#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    const HANDLE file =
        CreateFileW((path + L".ran").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (GetEnvironmentVariableW(L"E2E_FAKE_BUILD_RUNS_ON", nullptr, 0) == 0) return 1;
    // Bounded, so that a case that could not end it leaves nothing running for long.
    Sleep(60'000);
    return 0;
}
