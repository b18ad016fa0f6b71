# Native (Linux) build of the portable code: unit tests under sanitizers,
# libFuzzer targets and benchmarks.

target_sources(veltro_portable PRIVATE ${VELTRO_POSIX_SRC})
find_library(LIBMD md)
if(LIBMD)
  target_link_libraries(veltro_portable PUBLIC ${LIBMD})
endif()

set(VELTRO_SAN_FLAGS)
if(VELTRO_SANITIZE)
  set(VELTRO_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
endif()

# Benchmarks first, without sanitizers, so they measure the real code.
add_library(veltr32_bench STATIC ${VELTR32_PORTABLE_SRC} ${CMAKE_SOURCE_DIR}/listing/host_library.h)
set_target_properties(veltr32_bench PROPERTIES LINKER_LANGUAGE CXX)
target_include_directories(veltr32_bench PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(veltr32_bench PRIVATE -O2)
add_library(veltro_bench_portable STATIC ${VELTRO_PORTABLE_SRC} ${VELTRO_POSIX_SRC})
target_include_directories(veltro_bench_portable PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(veltro_bench_portable PRIVATE -O2)
if(LIBMD)
  target_link_libraries(veltro_bench_portable PUBLIC ${LIBMD})
endif()
file(GLOB VELTRO_NATIVE_BENCH CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/native_*.cpp)
foreach(b ${VELTRO_NATIVE_BENCH})
  get_filename_component(name ${b} NAME_WE)
  add_executable(${name} ${b})
  target_compile_options(${name} PRIVATE -O2)
  target_link_libraries(${name} PRIVATE veltr32_bench veltro_bench_portable)
endforeach()

# The program's portable code calls the library's code directly natively
# (listing/host_library_posix.cpp).
target_link_libraries(veltro_portable PUBLIC veltr32_core)
target_link_libraries(veltro_bench_portable PUBLIC veltr32_bench)

# Fuzzing: the libraries carry coverage and sanitizer instrumentation too,
# so the fuzzer steers through them and catches overruns inside them.
if(VELTRO_FUZZ)
  list(APPEND VELTRO_SAN_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
endif()

target_compile_options(veltr32_core PRIVATE ${VELTRO_SAN_FLAGS})
target_compile_options(veltro_portable PRIVATE ${VELTRO_SAN_FLAGS})
target_link_options(veltro_portable PUBLIC ${VELTRO_SAN_FLAGS})
target_link_options(veltr32_core PUBLIC ${VELTRO_SAN_FLAGS})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SRC_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB VELTRO_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/test_*.cpp)
foreach(t ${VELTRO_UNIT_TESTS})
  get_filename_component(name ${t} NAME_WE)
  add_executable(${name} ${t})
  target_compile_options(${name} PRIVATE ${VELTRO_SAN_FLAGS})
  target_link_libraries(${name} PRIVATE veltro_portable veltr32_core gtest gtest_main)
  add_test(NAME native.${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(native.${name} PROPERTIES
    ENVIRONMENT "VELTRO_SOURCE_DIR=${CMAKE_SOURCE_DIR};VELTRO_BUILD_DIR=${CMAKE_BINARY_DIR}"
    TIMEOUT 300)
endforeach()

# libFuzzer targets: configure with CC=clang CXX=clang++ -DVELTRO_FUZZ=ON.
if(VELTRO_FUZZ)
  file(GLOB VELTRO_FUZZERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
  foreach(f ${VELTRO_FUZZERS})
    get_filename_component(name ${f} NAME_WE)
    add_executable(${name} ${f})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE veltr32_core veltro_portable)
    # A bounded run seeded from the committed corpus; what it finds goes to
    # a scratch corpus in the build tree, never into the sources.
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
    add_test(NAME fuzz.${name}
      COMMAND ${name} -max_total_time=60 -rss_limit_mb=2048
              -artifact_prefix=${CMAKE_BINARY_DIR}/fuzz-corpus/${name}-
              ${CMAKE_BINARY_DIR}/fuzz-corpus/${name}
              ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
    set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 300)
  endforeach()
endif()
