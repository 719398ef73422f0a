# Compiler warnings and sanitizers are attached per target, never globally.
option(TAMLO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TAMLO_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

function(tamlo_target_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF POSITION_INDEPENDENT_CODE ON)
    target_link_libraries(${target} PRIVATE tamlo_hardening tamlo_reproducible)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
        if(TAMLO_SANITIZE)
            target_compile_options(${target} PRIVATE
                -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
            target_link_options(${target} PRIVATE -fsanitize=address,undefined)
        endif()
        if(TAMLO_FUZZ)
            # Coverage for the fuzzers in every library they reach; only fuzz targets get the
            # libFuzzer main (tamlo_add_fuzzer below).
            target_compile_options(${target} PRIVATE
                -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                -fno-omit-frame-pointer)
            target_link_options(${target} PRIVATE -fsanitize=address,undefined)
        endif()
    endif()
endfunction()

# A libFuzzer executable: tamlo_add_fuzzer(<name> SOURCES <files...> LIBRARIES <targets...>)
function(tamlo_add_fuzzer name)
    cmake_parse_arguments(FUZZ "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${FUZZ_SOURCES})
    target_link_libraries(${name} PRIVATE ${FUZZ_LIBRARIES})
    tamlo_target_defaults(${name})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    # The committed corpus (tests/fuzz/corpus/<name without _fuzzer>/) runs as a test: every
    # input once, so a crash found, then committed there, stays fixed.
    string(REGEX REPLACE "_fuzzer$" "" corpus_name ${name})
    set(corpus ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${corpus_name})
    if(EXISTS ${corpus})
        add_test(NAME ${name}_corpus
            COMMAND sh -c "exec \"$0\" \"$1\"/*" $<TARGET_FILE:${name}> ${corpus})
    endif()
endfunction()
