# The protections Debian builds every one of its programs with, as its dpkg-buildflags gives
# them: a stack protector, checked libc calls, a read-only relocation table bound at start,
# stack-clash and control-flow protection, position-independent programs. On Windows the program
# keeps address randomisation (high-entropy), no-execute data and the protector. Every target of
# the project links tamlo_hardening (tamlo_target_defaults); nothing is set globally.
option(TAMLO_HARDENING "Build with the compiler's and linker's hardening options" ON)

include(CheckCXXCompilerFlag)
include(CheckPIESupported)

add_library(tamlo_hardening INTERFACE)

# The sanitizers and libFuzzer bring their own checks, which the checked libc calls would hide.
if(TAMLO_HARDENING AND NOT TAMLO_SANITIZE AND NOT TAMLO_FUZZ
   AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    check_pie_supported(LANGUAGES CXX)
    set(flags -fstack-protector-strong)
    foreach(flag -fstack-clash-protection -fcf-protection)
        string(MAKE_C_IDENTIFIER "TAMLO_HAS${flag}" has_flag)
        check_cxx_compiler_flag(${flag} ${has_flag})
        if(${has_flag})
            list(APPEND flags ${flag})
        endif()
    endforeach()
    # The checked calls need the optimiser to know the sizes, so only optimised builds get them.
    set(optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
    target_compile_options(tamlo_hardening INTERFACE ${flags} -Wformat -Werror=format-security
        $<${optimised}:-U_FORTIFY_SOURCE> $<${optimised}:-D_FORTIFY_SOURCE=2>)
    # mingw-w64 takes the protector's and the checked calls' code from libssp at link time.
    target_link_options(tamlo_hardening INTERFACE -fstack-protector-strong)
    if(WIN32)
        target_link_options(tamlo_hardening INTERFACE
            LINKER:--dynamicbase LINKER:--nxcompat LINKER:--high-entropy-va)
    else()
        target_link_options(tamlo_hardening INTERFACE LINKER:-z,relro LINKER:-z,now)
    endif()
endif()
