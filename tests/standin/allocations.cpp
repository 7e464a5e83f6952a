#include "allocations.h"

#include <windows.h>

#include <cstring>

#include "counters.h"

namespace standin {
namespace {

// The C library's own functions and the block, set once before any import points here: the
// counting functions have no other way to reach them.
struct Heap {
    decltype(&malloc) allocate;
    decltype(&calloc) allocate_zeroed;
    decltype(&realloc) reallocate;
    decltype(&free) release;
    decltype(&_msize) size;
    CounterBlock* block;
} heap;

void count(void* block, int change) noexcept {
    if (!block) return;
    heap.block->shell_blocks += change;
    heap.block->shell_bytes += change * static_cast<std::int64_t>(heap.size(block));
}

void* __cdecl counting_malloc(size_t size) {
    void* block = heap.allocate(size);
    count(block, 1);
    return block;
}

void* __cdecl counting_calloc(size_t number, size_t size) {
    void* block = heap.allocate_zeroed(number, size);
    count(block, 1);
    return block;
}

void __cdecl counting_free(void* block) {
    count(block, -1);
    heap.release(block);
}

// realloc(block, 0) frees the block and answers null; any other null leaves the block as it was.
void* __cdecl counting_realloc(void* block, size_t size) {
    const auto before = block ? static_cast<std::int64_t>(heap.size(block)) : 0;
    void* moved = heap.reallocate(block, size);
    if (moved || (block && size == 0)) {
        heap.block->shell_blocks += (moved ? 1 : 0) - (block ? 1 : 0);
        heap.block->shell_bytes += (moved ? static_cast<std::int64_t>(heap.size(moved)) : 0) - before;
    }
    return moved;
}

void* replacement(const char* name) {
    if (std::strcmp(name, "malloc") == 0) return reinterpret_cast<void*>(&counting_malloc);
    if (std::strcmp(name, "calloc") == 0) return reinterpret_cast<void*>(&counting_calloc);
    if (std::strcmp(name, "realloc") == 0) return reinterpret_cast<void*>(&counting_realloc);
    if (std::strcmp(name, "free") == 0) return reinterpret_cast<void*>(&counting_free);
    return nullptr;
}

}  // namespace

void count_executable_allocations(CounterBlock* block) noexcept {
    const HMODULE crt = GetModuleHandleW(L"msvcrt.dll");
    if (!crt || !block) return;
    const auto function = [crt](const char* name) { return reinterpret_cast<void*>(GetProcAddress(crt, name)); };
    heap = {reinterpret_cast<decltype(&malloc)>(function("malloc")),
            reinterpret_cast<decltype(&calloc)>(function("calloc")),
            reinterpret_cast<decltype(&realloc)>(function("realloc")),
            reinterpret_cast<decltype(&free)>(function("free")),
            reinterpret_cast<decltype(&_msize)>(function("_msize")), block};
    if (!heap.allocate || !heap.allocate_zeroed || !heap.reallocate || !heap.release || !heap.size) return;
    // The executable's import table: each msvcrt.dll slot named in the list above is repointed.
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); imports && dll->Name; ++dll) {
        if (_stricmp(reinterpret_cast<const char*>(base + dll->Name), "msvcrt.dll") != 0) continue;
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk); name->u1.AddressOfData;
             ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            void* counting = replacement(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)->Name);
            DWORD protection = 0;
            if (!counting || !VirtualProtect(&slot->u1.Function, sizeof(ULONG_PTR), PAGE_READWRITE, &protection))
                continue;
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(counting);
            (void)VirtualProtect(&slot->u1.Function, sizeof(ULONG_PTR), protection, &protection);
        }
    }
}

}  // namespace standin
