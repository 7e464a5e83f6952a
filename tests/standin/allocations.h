#pragma once
// The shell's own heap blocks, for a benchmark: the executable's calls into the C library's heap
// (malloc, calloc, realloc and free, imported from msvcrt.dll, which every new and delete of its
// statically linked C++ library ends in) go through counters of live blocks and bytes. The
// stand-in's own blocks and the system's are not counted.

namespace standin {

struct CounterBlock;

// Once per process, with the counters on: points the executable's imports at the counting
// functions. `block` must stay mapped until the process ends.
void count_executable_allocations(CounterBlock* block) noexcept;

}  // namespace standin
