#include "driver/icons.h"

#include <memory>
#include <stdexcept>

#include "driver/handle.h"
#include "driver/icon_probe.h"
#include "driver/text.h"

namespace e2e {
namespace {

class UniqueIcon {
public:
    explicit UniqueIcon(HICON icon) : icon_(icon) {}
    UniqueIcon(const UniqueIcon&) = delete;
    UniqueIcon& operator=(const UniqueIcon&) = delete;
    ~UniqueIcon() {
        if (icon_) DestroyIcon(icon_);
    }
    HICON get() const { return icon_; }

private:
    HICON icon_;
};

IconImage to_image(const icon_probe::Answer& answer) {
    const auto count = static_cast<std::size_t>(answer.width) * static_cast<std::size_t>(answer.height);
    return {answer.width, answer.height, std::vector<std::uint32_t>(answer.pixels, answer.pixels + count)};
}

// The probe library, loaded here too so that the hook can name its procedure.
class ProbeLibrary {
public:
    ProbeLibrary() : module_(LoadLibraryW(windows_path(WM_E2E_ICON_PROBE).c_str())) {
        if (!module_)
            throw std::runtime_error("loading the icon probe failed, error " + std::to_string(GetLastError()));
    }
    ProbeLibrary(const ProbeLibrary&) = delete;
    ProbeLibrary& operator=(const ProbeLibrary&) = delete;
    ~ProbeLibrary() { FreeLibrary(module_); }

    // Hooks the window procedures of one thread, which the system makes load the library.
    HHOOK hook(DWORD thread) const {
        const auto procedure =
            reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module_, icon_probe::kHookProcedure)));
        if (!procedure) throw std::runtime_error("the icon probe exports no hook");
        return SetWindowsHookExW(WH_CALLWNDPROC, procedure, module_, thread);
    }

private:
    HMODULE module_;
};

class UniqueHook {
public:
    explicit UniqueHook(HHOOK hook) : hook_(hook) {
        if (!hook_) throw std::runtime_error("hooking the shell failed, error " + std::to_string(GetLastError()));
    }
    UniqueHook(const UniqueHook&) = delete;
    UniqueHook& operator=(const UniqueHook&) = delete;
    ~UniqueHook() { UnhookWindowsHookEx(hook_); }

private:
    HHOOK hook_;
};

// The mapping the probe answers in, named after the window.
class AnswerMapping {
public:
    explicit AnswerMapping(HWND window)
        : mapping_(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(icon_probe::Answer),
                                      icon_probe::answer_mapping_name(window).c_str())),
          view_(mapping_ ? MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(icon_probe::Answer)) : nullptr) {
        if (!view_) throw std::runtime_error("mapping the icon answer failed, error " + std::to_string(GetLastError()));
        get().state = icon_probe::AnswerState::unanswered;
    }
    AnswerMapping(const AnswerMapping&) = delete;
    AnswerMapping& operator=(const AnswerMapping&) = delete;
    ~AnswerMapping() { UnmapViewOfFile(view_); }
    icon_probe::Answer& get() const { return *static_cast<icon_probe::Answer*>(view_); }

private:
    UniqueHandle mapping_;
    void* view_;
};

}  // namespace

std::ostream& operator<<(std::ostream& out, const IconImage& image) {
    std::uint32_t checksum = 0;
    for (const auto pixel : image.pixels) checksum = checksum * 31 + pixel;
    return out << image.width << "x" << image.height << " icon, checksum " << checksum;
}

ResourceModule::ResourceModule(const std::filesystem::path& executable)
    : module_(LoadLibraryExW(executable.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
    if (!module_)
        throw std::runtime_error("mapping " + narrow(executable.native()) + " failed, error " +
                                 std::to_string(GetLastError()));
}

ResourceModule::~ResourceModule() {
    FreeLibrary(module_);
}

std::optional<IconImage> ResourceModule::icon_group_image(int id) const {
    const UniqueIcon icon(
        static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    const auto answer = std::make_unique<icon_probe::Answer>();
    if (icon_probe::copy_icon(icon.get(), *answer) != icon_probe::AnswerState::icon) return std::nullopt;
    return to_image(*answer);
}

std::optional<IconImage> shown_small_icon(HWND window) {
    constexpr UINT kAnswerTimeoutMs = 5000;
    const ProbeLibrary probe;
    const UniqueHook hook(probe.hook(GetWindowThreadProcessId(window, nullptr)));
    const AnswerMapping mapping(window);
    // The hook runs before the window procedure, so the answer is there once the send returns.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, RegisterWindowMessageW(icon_probe::kRequestMessage), 0, 0, SMTO_ABORTIFHUNG,
                        kAnswerTimeoutMs, &ignored);
    const icon_probe::Answer& answer = mapping.get();
    switch (answer.state) {
    case icon_probe::AnswerState::no_icon:
        return std::nullopt;
    case icon_probe::AnswerState::icon:
        return to_image(answer);
    case icon_probe::AnswerState::unreadable:
        throw std::runtime_error("the window's icon cannot be read");
    case icon_probe::AnswerState::unanswered:
        break;
    }
    throw std::runtime_error("the icon probe did not answer");
}

}  // namespace e2e
