# Windows (mingw-w64) targets: veltro.exe, veltr32.dll and the tests that run under Wine.

# No compiler DLLs next to the binaries: everything is linked in.
string(TIMESTAMP VELTRO_BUILD_DATE "%Y.%m.%d")
set(VELTRO_STATIC_LINK -static -static-libgcc -static-libstdc++)
set(VELTRO_WIN_LIBS ws2_32 comctl32 comdlg32 shell32 winmm advapi32 gdi32 user32 kernel32)

set(VELTRO_RC ${CMAKE_SOURCE_DIR}/resources/veltro.rc)
set_property(SOURCE ${VELTRO_RC} APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/resource.h)
file(GLOB VELTRO_RES_FILES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/*.bmp ${CMAKE_SOURCE_DIR}/resources/*.cur
  ${CMAKE_SOURCE_DIR}/resources/*.ico ${CMAKE_SOURCE_DIR}/resources/*.rc2
  ${CMAKE_SOURCE_DIR}/resources/*.manifest)
set_property(SOURCE ${VELTRO_RC} APPEND PROPERTY OBJECT_DEPENDS ${VELTRO_RES_FILES})

target_compile_definitions(veltro_portable PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)

# Everything of the program but its entry point, so tests can link it.
add_library(veltro_win STATIC ${VELTRO_WIN_SRC})
target_include_directories(veltro_win PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources)
target_compile_definitions(veltro_win PUBLIC VELTRO_BUILD_DATE="${VELTRO_BUILD_DATE}")
target_link_libraries(veltro_win PUBLIC veltro_portable veltr32_core ${VELTRO_WIN_LIBS})
# Portable code calls platform services that live in veltro_win (MD5 of the
# stored-password form): the two static libraries depend on each other.
target_link_libraries(veltro_portable PUBLIC veltro_win)

add_executable(veltro WIN32 ${CMAKE_SOURCE_DIR}/app/winmain_win.cpp ${VELTRO_RC})
target_link_libraries(veltro PRIVATE veltro_win)
target_link_options(veltro PRIVATE ${VELTRO_STATIC_LINK})
# WndProc and PreInitCINFO are exported by their plain names (app/veltro.def).
target_link_options(veltro PRIVATE ${CMAKE_SOURCE_DIR}/app/veltro.def)
set_property(TARGET veltro APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/app/veltro.def)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  target_link_options(veltro PRIVATE -Wl,--enable-stdcall-fixup)
endif()
add_test(NAME ${VELTRO_WINE_ARCH}.program_exports
  COMMAND ${CMAKE_SOURCE_DIR}/tests/check-exports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:veltro> WndProc PreInitCINFO)

# The host-type library: portable core plus its Win32 exports and resources.
file(GLOB VELTR32_RC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/veltr32/*.rc)
file(GLOB VELTR32_DEF CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/veltr32/*.def)
if(VELTR32_WIN_SRC)
  add_library(veltr32 SHARED ${VELTR32_WIN_SRC} ${VELTR32_RC} ${VELTR32_DEF})
  set_target_properties(veltr32 PROPERTIES PREFIX "" OUTPUT_NAME veltr32)
  target_link_libraries(veltr32 PRIVATE veltr32_core user32 gdi32 kernel32)
  target_link_options(veltr32 PRIVATE ${VELTRO_STATIC_LINK})
# 32-bit: the .def names the stdcall operations without their "@N"
# decoration, so the exports stay undecorated; the linker resolves them.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  target_link_options(veltr32 PRIVATE -Wl,--enable-stdcall-fixup)
endif()
  add_dependencies(veltro veltr32)
endif()

# GoogleTest, built for the target from Debian's sources.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SRC_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Tests run under Wine through tests/wine-run.sh, each in its own prefix.
set(VELTRO_WINE_RUN ${CMAKE_SOURCE_DIR}/tests/wine-run.sh)
file(GLOB VELTRO_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/test_*.cpp)
file(GLOB VELTRO_WIN_TEST_HELPERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_helper*.cpp)
set(VELTRO_TEST_ENV
  VELTRO_WINE_ARCH=${VELTRO_WINE_ARCH}
  VELTRO_BUILD_DIR=${CMAKE_BINARY_DIR}
  VELTRO_SOURCE_DIR=${CMAKE_SOURCE_DIR})
foreach(t ${VELTRO_WIN_TESTS})
  get_filename_component(name ${t} NAME_WE)
  add_executable(${name} ${t} ${VELTRO_WIN_TEST_HELPERS} ${VELTRO_RC})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/win)
  target_link_libraries(${name} PRIVATE veltro_win gtest gtest_main)
  target_link_options(${name} PRIVATE ${VELTRO_STATIC_LINK})
  add_dependencies(${name} veltro)
  # test_srv_* tests get real FTP servers on loopback for their run.
  set(runner ${VELTRO_WINE_RUN})
  if(name MATCHES "^test_srv_")
    set(runner ${CMAKE_SOURCE_DIR}/tests/servers/with-servers.sh ${VELTRO_WINE_RUN})
  endif()
  add_test(NAME ${VELTRO_WINE_ARCH}.${name}
    COMMAND ${runner} $<TARGET_FILE:${name}> --gtest_color=no)
  set_tests_properties(${VELTRO_WINE_ARCH}.${name} PROPERTIES
    ENVIRONMENT "${VELTRO_TEST_ENV}" TIMEOUT 600)
endforeach()

# Benchmarks that are Windows programs (run under Wine by bench/run.sh).
file(GLOB VELTRO_WIN_BENCH CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/bench_*.cpp)
foreach(b ${VELTRO_WIN_BENCH})
  get_filename_component(name ${b} NAME_WE)
  add_executable(${name} ${b})
  target_link_libraries(${name} PRIVATE veltro_win)
  if(name STREQUAL "bench_panes")
    # The panes need the program's resources and a scripted server.
    target_sources(${name} PRIVATE ${VELTRO_RC} ${CMAKE_SOURCE_DIR}/tests/win/ftp_server_helper.cpp
                   ${CMAKE_SOURCE_DIR}/tests/win/data_peer_helper.cpp
                   ${CMAKE_SOURCE_DIR}/tests/win/veltro_process_helper.cpp)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/win)
  endif()
  target_link_options(${name} PRIVATE ${VELTRO_STATIC_LINK})
endforeach()
# The batch benchmark drives the real program like the GUI tests do.
if(TARGET bench_batch)
  target_sources(bench_batch PRIVATE ${CMAKE_SOURCE_DIR}/tests/win/veltro_process_helper.cpp)
  target_include_directories(bench_batch PRIVATE ${CMAKE_SOURCE_DIR}/tests/win)
  add_dependencies(bench_batch veltro)
endif()

# The help pages are installed beside the program, in the folder "help".
file(GLOB VELTRO_HELP_PAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
add_custom_command(TARGET veltro POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help $<TARGET_FILE_DIR:veltro>/help
  VERBATIM)
set_property(TARGET veltro APPEND PROPERTY LINK_DEPENDS ${VELTRO_HELP_PAGES})

# The pictures the GUI tests save (BMP) also as PNG, for looking at them.
find_program(VELTRO_CONVERT convert)
if(VELTRO_CONVERT)
  add_test(NAME ${VELTRO_WINE_ARCH}.pictures_png
    COMMAND sh -c "mkdir -p artifacts && cd artifacts && for f in *.bmp; do [ -e \"$f\" ] || continue; ${VELTRO_CONVERT} \"$f\" \"\${f%.bmp}.png\" || exit 1; done"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  # After every test that may save a picture.
  set(picture_tests)
  foreach(t ${VELTRO_WIN_TESTS})
    get_filename_component(name ${t} NAME_WE)
    list(APPEND picture_tests ${VELTRO_WINE_ARCH}.${name})
  endforeach()
  set_tests_properties(${VELTRO_WINE_ARCH}.pictures_png PROPERTIES DEPENDS "${picture_tests}")
endif()
