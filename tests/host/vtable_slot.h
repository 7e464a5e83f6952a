#pragma once
// Reading a declared method's vtable slot from the compiler, for the checks of the project's own
// COM and WinRT declarations: a method out of place calls the wrong function of the real classes.

#include <cstdint>
#include <cstring>
#include <type_traits>

inline constexpr long not_declared = -1;
inline constexpr long not_virtual = -2;

// With the Itanium C++ ABI of mingw g++, a pointer to a virtual member function holds
// 1 + the method's byte offset in the vtable in its first word, and the this-adjustment (zero
// for these single-inheritance chains) in its second.
template <class MemberFunction>
long slot_of(MemberFunction member) {
    static_assert(std::is_member_function_pointer_v<MemberFunction>);
    static_assert(sizeof member == 2 * sizeof(std::uintptr_t));
    std::uintptr_t words[2];
    std::memcpy(words, &member, sizeof words);
    if ((words[0] & 1) == 0 || words[1] != 0) return not_virtual;
    return static_cast<long>((words[0] - 1) / sizeof(void*));
}
