#include "handles.h"

// The linker's symbol at the start of this image: the DLL's own module handle.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace standin {

HINSTANCE this_module() noexcept { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

}  // namespace standin
