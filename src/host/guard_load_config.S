// The load-configuration directory and the Control Flow Guard pointers that Debian's mingw-w64
// runtime does not supply. Code built with -mguard=cf calls every indirect target through
// __guard_dispatch_icall_fptr; a loader that enforces the guard replaces that pointer with its
// own checking dispatcher, read from the directory below. Until then (and on a system without the
// guard, or under Wine) the pointers lead to routines that only pass the call on.
// The linker finds the directory by the name _load_config_used and fills the __guard_* symbols
// with the tables and flags it builds under --guard-cf; tools/guard_table.py then completes the
// function table. Layout: IMAGE_LOAD_CONFIG_DIRECTORY64 of the PE format.

// Read-only: the loader rewrites the pointers before the program runs, nothing after it.
    .section .rdata,"dr"
    .p2align 3
    .globl __guard_check_icall_fptr
__guard_check_icall_fptr:
    .quad wm_guard_check_pass
    .globl __guard_dispatch_icall_fptr
__guard_dispatch_icall_fptr:
    .quad wm_guard_dispatch_pass

    .text
// The check routine receives the target in rcx and returns when it may be called.
wm_guard_check_pass:
    ret
// The dispatch routine receives the target in rax and jumps to it in the caller's stead.
wm_guard_dispatch_pass:
    jmp *%rax

    .section .rdata,"dr"
    .p2align 3
    .globl _load_config_used
_load_config_used:
    .long load_config_end - _load_config_used     // Size
    .long 0                                       // TimeDateStamp
    .short 0, 0                                   // MajorVersion, MinorVersion
    .long 0, 0                                    // GlobalFlagsClear, GlobalFlagsSet
    .long 0                                       // CriticalSectionDefaultTimeout
    .quad 0, 0                                    // DeCommitFreeBlockThreshold, DeCommitTotalFreeThreshold
    .quad 0                                       // LockPrefixTable
    .quad 0, 0                                    // MaximumAllocationSize, VirtualMemoryThreshold
    .quad 0                                       // ProcessAffinityMask
    .long 0                                       // ProcessHeapFlags
    .short 0, 0                                   // CSDVersion, DependentLoadFlags
    .quad 0                                       // EditList
    .quad 0                                       // SecurityCookie: the stack protector keeps its own
    .quad 0, 0                                    // SEHandlerTable, SEHandlerCount: 32-bit images only
    .quad __guard_check_icall_fptr                // GuardCFCheckFunctionPointer
    .quad __guard_dispatch_icall_fptr             // GuardCFDispatchFunctionPointer
    .quad __guard_fids_table                      // GuardCFFunctionTable
    .quad __guard_fids_count                      // GuardCFFunctionCount
    .long __guard_flags                           // GuardFlags
    .short 0, 0                                   // CodeIntegrity: Flags, Catalog
    .long 0, 0                                    //   CatalogOffset, Reserved
    .quad __guard_iat_table                       // GuardAddressTakenIatEntryTable
    .quad __guard_iat_count                       // GuardAddressTakenIatEntryCount
    .quad __guard_longjmp_table                   // GuardLongJumpTargetTable
    .quad __guard_longjmp_count                   // GuardLongJumpTargetCount
    .quad 0                                       // DynamicValueRelocTable
    .quad 0                                       // CHPEMetadataPointer
    .quad 0, 0                                    // GuardRFFailureRoutine, GuardRFFailureRoutineFunctionPointer
    .long 0                                       // DynamicValueRelocTableOffset
    .short 0, 0                                   // DynamicValueRelocTableSection, Reserved2
    .quad 0                                       // GuardRFVerifyStackPointerFunctionPointer
    .long 0, 0                                    // HotPatchTableOffset, Reserved3
    .quad 0                                       // EnclaveConfigurationPointer
    .quad 0                                       // VolatileMetadataPointer
    .quad __guard_eh_cont_table                   // GuardEHContinuationTable
    .quad __guard_eh_cont_count                   // GuardEHContinuationCount
load_config_end:
