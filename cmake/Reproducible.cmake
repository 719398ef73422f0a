# One commit builds to the same bytes wherever and whenever it is built: the package, the
# Windows program and its ZIP carry no build folder and no build time.
#
# The time they do carry is SOURCE_DATE_EPOCH, the one every reproducible build agrees on: as the
# environment gives it, else the time of the last commit, else (a source tree without its
# history) the time of configuring, which is then the one thing that differs.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(TAMLO_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
    find_package(Git QUIET)
    if(Git_FOUND)
        execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
            OUTPUT_VARIABLE TAMLO_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
            RESULT_VARIABLE git_failed ERROR_QUIET)
        execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --absolute-git-dir
            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
            OUTPUT_VARIABLE git_dir OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        # A new commit (or a checkout of another) configures again, so the time stays the commit's.
        if(NOT git_failed AND EXISTS ${git_dir}/logs/HEAD)
            set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${git_dir}/logs/HEAD)
        endif()
    endif()
    if(NOT TAMLO_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
        string(TIMESTAMP TAMLO_SOURCE_DATE_EPOCH "%s" UTC)
        message(STATUS "No SOURCE_DATE_EPOCH and no commit: the build carries today's time")
    endif()
endif()

# The tools the build runs read the time from the environment: the resource compiler stamps each
# file it embeds with it (else with the file's own time, the time of the checkout).
set_property(DIRECTORY PROPERTY RULE_LAUNCH_CUSTOM
    "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${TAMLO_SOURCE_DATE_EPOCH}")

# The archives are written by cpack, which reads the time from its own environment.
configure_file(${CMAKE_CURRENT_LIST_DIR}/CPackTime.cmake.in CPackTime.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackTime.cmake)

# Installed folders are rwxr-xr-x, whatever the umask of the one who builds.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Source and build folders appear in the objects (file names of messages, debug information) as
# ".": the build folder is mapped last, so a build folder inside the source names its own files
# relative to itself. Debug builds keep the real folders, for the debugger and the sanitizers.
add_library(tamlo_reproducible INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    set(shipped $<NOT:$<CONFIG:Debug>>)
    target_compile_options(tamlo_reproducible INTERFACE
        $<${shipped}:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>
        $<${shipped}:-ffile-prefix-map=${PROJECT_BINARY_DIR}=.>)
endif()
if(WIN32)
    # The link time would be written into the program's header.
    target_link_options(tamlo_reproducible INTERFACE LINKER:--no-insert-timestamp)
endif()
