# Debian's hardening for the Linux build, as a Debian package is built: the
# flags dpkg-buildflags gives with every hardening feature this toolchain
# supports (the stack protector, the C library's checked functions, RELRO with
# immediate binding, and on newer toolchains stack-clash and control-flow
# protection), for every program of the build. The optimisation and debug
# flags stay the build type's, and the paths in the binaries the release's own
# (tools/release.sh). The sanitizer and fuzz builds keep their own flags.
option(TARVIK_HARDENING "Build with Debian's hardening flags (dpkg-buildflags)" ON)
find_program(TARVIK_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT TARVIK_HARDENING OR NOT TARVIK_DPKG_BUILDFLAGS)
    return()
endif()
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-fixfilepath,-fixdebugpath"
            "DEB_CXXFLAGS_MAINT_STRIP=-g -O2" ${TARVIK_DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    if(kind STREQUAL LDFLAGS)
        add_link_options(${flags})
    else()
        add_compile_options(${flags})
    endif()
    list(APPEND TARVIK_HARDENING_FLAGS ${flags})
endforeach()
# Debian 13's dpkg gives these too; Debian 12's does not know them yet, though
# its compiler has them.
include(CheckCXXCompilerFlag)
foreach(flag -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "TARVIK_HAS${flag}" supported)
    if(NOT flag IN_LIST TARVIK_HARDENING_FLAGS)
        check_cxx_compiler_flag(${flag} ${supported})
        if(${supported})
            add_compile_options(${flag})
            list(APPEND TARVIK_HARDENING_FLAGS ${flag})
        endif()
    endif()
endforeach()
message(STATUS "Hardened with dpkg-buildflags: ${TARVIK_HARDENING_FLAGS}")
