#include "allocations.h"

#include <windows.h>

#include <cstring>

#include "counters.h"

namespace standin {
namespace {

using Malloc = void*(__cdecl*)(size_t);
using Calloc = void*(__cdecl*)(size_t, size_t);
using Realloc = void*(__cdecl*)(void*, size_t);
using Free = void(__cdecl*)(void*);
using Msize = size_t(__cdecl*)(void*);

// The C library's own functions and the block, written once before any import points here: the
// counting functions have no other way to reach them.
struct Heap {
    Malloc malloc;
    Calloc calloc;
    Realloc realloc;
    Free free;
    Msize msize;
    CounterBlock* block;
};
Heap heap;

void counted(void* allocated) noexcept {
    if (!allocated) return;
    ++heap.block->shell_blocks;
    heap.block->shell_bytes += static_cast<std::int64_t>(heap.msize(allocated));
}

void* __cdecl counting_malloc(size_t size) {
    void* allocated = heap.malloc(size);
    counted(allocated);
    return allocated;
}

void* __cdecl counting_calloc(size_t count, size_t size) {
    void* allocated = heap.calloc(count, size);
    counted(allocated);
    return allocated;
}

void __cdecl counting_free(void* block) {
    if (block) {
        --heap.block->shell_blocks;
        heap.block->shell_bytes -= static_cast<std::int64_t>(heap.msize(block));
    }
    heap.free(block);
}

// realloc(block, 0) frees the block and answers null, as msvcrt's does.
void* __cdecl counting_realloc(void* block, size_t size) {
    const auto before = block ? static_cast<std::int64_t>(heap.msize(block)) : 0;
    void* moved = heap.realloc(block, size);
    if (moved) {
        if (!block) ++heap.block->shell_blocks;
        heap.block->shell_bytes += static_cast<std::int64_t>(heap.msize(moved)) - before;
    } else if (block && size == 0) {
        --heap.block->shell_blocks;
        heap.block->shell_bytes -= before;
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

void point_imports_here(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return;
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name; ++dll) {
        if (_stricmp(reinterpret_cast<const char*>(base + dll->Name), "msvcrt.dll") != 0) continue;
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            const auto* by_name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            void* counting = replacement(reinterpret_cast<const char*>(by_name->Name));
            if (!counting) continue;
            DWORD protection = 0;
            if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection)) continue;
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(counting);
            (void)VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
        }
    }
}

}  // namespace

void count_executable_allocations(CounterBlock* block) noexcept {
    const HMODULE crt = GetModuleHandleW(L"msvcrt.dll");
    if (!crt || !block) return;
    heap = {reinterpret_cast<Malloc>(reinterpret_cast<void*>(GetProcAddress(crt, "malloc"))),
            reinterpret_cast<Calloc>(reinterpret_cast<void*>(GetProcAddress(crt, "calloc"))),
            reinterpret_cast<Realloc>(reinterpret_cast<void*>(GetProcAddress(crt, "realloc"))),
            reinterpret_cast<Free>(reinterpret_cast<void*>(GetProcAddress(crt, "free"))),
            reinterpret_cast<Msize>(reinterpret_cast<void*>(GetProcAddress(crt, "_msize"))), block};
    if (!heap.malloc || !heap.calloc || !heap.realloc || !heap.free || !heap.msize) return;
    point_imports_here(GetModuleHandleW(nullptr));
}

}  // namespace standin
