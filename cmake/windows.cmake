# The Windows build: the package DLL, its clients, and the GCC runtime DLLs beside them.
enable_language(RC)
add_compile_options(-msse2 -mfpmath=sse)
add_compile_definitions(UNICODE _UNICODE WINVER=0x0A00 _WIN32_WINNT=0x0A00)

file(GLOB WTARN_PACKAGE_SOURCES CONFIGURE_DEPENDS package/*.cpp package/*.rc view/*.cpp)
add_library(WTarnD11 SHARED ${WTARN_CORE_SOURCES} ${WTARN_PACKAGE_SOURCES})
set_target_properties(WTarnD11 PROPERTIES PREFIX "" IMPORT_PREFIX "" IMPORT_SUFFIX ".lib.a")
target_include_directories(WTarnD11 PUBLIC $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}>
                                           $<INSTALL_INTERFACE:include/WTarn>)
target_compile_features(WTarnD11 PUBLIC cxx_std_20)
target_compile_definitions(WTarnD11 INTERFACE UNICODE _UNICODE)
target_compile_definitions(WTarnD11 PRIVATE WTARN_BUILDING_PACKAGE)
target_link_libraries(WTarnD11 PRIVATE ole32 oleaut32 uuid shell32 shlwapi advapi32 user32 gdi32
  comctl32 comdlg32 version mpr winspool gdiplus)

# Every test program runs once per Wine that this machine offers (WTARN_WINES: 8, the system's,
# and 10, in the Debian 13 root), as wine<version>_<program>.
set(WTARN_WINES 8 CACHE STRING "The Wine versions the tests run on (scripts/wine-env.sh)")
function(wtarn_wine_test program)
  foreach(wine IN LISTS WTARN_WINES)
    add_test(NAME wine${wine}_${program} COMMAND ${program} --gtest_brief=1)
    set_tests_properties(wine${wine}_${program} PROPERTIES ENVIRONMENT WTARN_WINE=${wine})
  endforeach()
endfunction()

# The runtime the package needs, as DLLs beside every program.
foreach(dll libstdc++-6.dll libgcc_s_dw2-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  list(APPEND WTARN_RUNTIME_DLLS ${path})
endforeach()
list(APPEND WTARN_RUNTIME_DLLS ${CMAKE_FIND_ROOT_PATH}/lib/libwinpthread-1.dll)
file(COPY ${WTARN_RUNTIME_DLLS} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})

# The IDE's service references, shared by the stand-in IDE, the package and the tests.
add_library(toolsapi SHARED toolsapi/toolsapi.cpp)
set_target_properties(toolsapi PROPERTIES PREFIX "" IMPORT_PREFIX "" IMPORT_SUFFIX ".lib.a")
target_include_directories(toolsapi PUBLIC $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}>
                                           $<INSTALL_INTERFACE:include/WTarn>)
target_compile_definitions(toolsapi PRIVATE WTARN_BUILDING_TOOLSAPI)
target_link_libraries(WTarnD11 PRIVATE toolsapi)

# The stand-in companion program.
file(GLOB WTARN_COMPANION_SOURCES CONFIGURE_DEPENDS companion/*.cpp)
add_executable(TarnPlugIn WIN32 ${WTARN_COMPANION_SOURCES})
target_include_directories(TarnPlugIn PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(TarnPlugIn PRIVATE user32 gdi32 shell32)

# The stand-in IDE: loads the package at run time; its own copy of the runtime's controls and
# of the release catalogue, which names its registry key.
file(GLOB WTARN_HOST_SOURCES CONFIGURE_DEPENDS host/*.cpp host/*.rc)
add_executable(wtarn_host ${WTARN_HOST_SOURCES} rtl/controls_win.cpp tarnedata/catalogue.cpp)
target_compile_definitions(wtarn_host PRIVATE WTARN_STATIC)
target_link_libraries(wtarn_host PRIVATE toolsapi user32 gdi32 comctl32)
target_include_directories(wtarn_host PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(wtarn_host WTarnD11 TarnPlugIn)

add_executable(core_tests ${WTARN_CORE_TESTS})
target_link_libraries(core_tests PRIVATE WTarnD11 GTest::gtest_main)
wtarn_wine_test(core_tests)

file(GLOB WTARN_WIN_TESTS CONFIGURE_DEPENDS tests/win/*_test.cpp)
if(WTARN_WIN_TESTS)
  add_executable(win_tests ${WTARN_WIN_TESTS})
  target_link_libraries(win_tests PRIVATE WTarnD11 GTest::gtest_main ole32 shell32 user32 gdi32 advapi32)
  wtarn_wine_test(win_tests)
  # A program that records how it was started, for the process tests; static, so that a
  # test may copy it anywhere.
  add_executable(record_start WIN32 tests/win/helpers/record_start.cpp)
  target_link_options(record_start PRIVATE -static)
  add_dependencies(win_tests record_start)
  # A program that holds files open without sharing, for the fault tests.
  add_executable(hold_file WIN32 tests/win/helpers/hold_file.cpp)
  target_link_options(hold_file PRIVATE -static)
  target_link_libraries(hold_file PRIVATE shell32)
  add_dependencies(win_tests hold_file)
  target_link_libraries(win_tests PRIVATE uuid)
endif()

# The plug-in end to end: the package with the real host, companion and a client DLL.
add_library(wtarn_client SHARED tests/client/client.cpp)
set_target_properties(wtarn_client PROPERTIES PREFIX "" IMPORT_PREFIX "" IMPORT_SUFFIX ".lib.a")
target_link_libraries(wtarn_client PRIVATE WTarnD11 user32)
file(GLOB WTARN_PLUGIN_TESTS CONFIGURE_DEPENDS tests/plugin/*.cpp)
add_executable(plugin_tests ${WTARN_PLUGIN_TESTS})
target_link_libraries(plugin_tests PRIVATE WTarnD11 toolsapi wtarn_client GTest::gtest_main
  user32 gdi32 shell32 version)
add_dependencies(plugin_tests wtarn_host TarnPlugIn answer_probe)
# A program that times from outside how long the IDE's thread takes to answer.
add_executable(answer_probe WIN32 tests/plugin/helpers/answer_probe.cpp)
target_include_directories(answer_probe PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(answer_probe PRIVATE -static -municode)
target_link_libraries(answer_probe PRIVATE shell32)
wtarn_wine_test(plugin_tests)

# The stand-in IDE's package list and message loop.
add_executable(host_tests tests/host/host_test.cpp host/package_list.cpp)
target_include_directories(host_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(host_tests PRIVATE GTest::gtest_main advapi32 user32)
add_dependencies(host_tests wtarn_host)
wtarn_wine_test(host_tests)

# The plug-in's installer, made with NSIS (installer/WTarnD11.nsi):
#   cmake --build <build> --target installer   ->   <build>/bin/WTarnD11-Setup.exe
find_program(WTARN_MAKENSIS makensis)
file(STRINGS package/dversion.h version_line REGEX "WTARN_FILE_VERSION_TEXT")
string(REGEX MATCH "[0-9.]+" WTARN_VERSION "${version_line}")
if(WTARN_MAKENSIS)
  set(setup ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/WTarnD11-Setup.exe)
  add_custom_command(OUTPUT ${setup}
    COMMAND ${WTARN_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DBIN=${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
            -DVERSION=${WTARN_VERSION} -DOUTFILE=${setup} ${CMAKE_SOURCE_DIR}/installer/WTarnD11.nsi
    DEPENDS installer/WTarnD11.nsi WTarnD11 VERBATIM)
  add_custom_target(installer ALL DEPENDS ${setup})
  # Its road under Wine: install, the IDE, uninstall; again, over an older one, bad folders.
  add_executable(install_tests tests/install/install_test.cpp)
  target_include_directories(install_tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(install_tests PRIVATE GTest::gtest_main advapi32)
  add_dependencies(install_tests installer wtarn_host)
  wtarn_wine_test(install_tests)
endif()

# The Welcome Page as a user sees it: screenshots of the embedded companion.
foreach(wine IN LISTS WTARN_WINES)
  add_test(NAME wine${wine}_welcome_page_picture
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/picture/welcome_page_test.sh
                   ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  set_tests_properties(wine${wine}_welcome_page_picture PROPERTIES ENVIRONMENT WTARN_WINE=${wine}
                       SKIP_RETURN_CODE 77)
endforeach()

# The package-load benchmark (scripts/bench.sh): the package against an empty DLL.
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/package_load.cpp)
  add_library(empty_dll SHARED EXCLUDE_FROM_ALL bench/empty_dll.cpp)
  set_target_properties(empty_dll PROPERTIES PREFIX "")
  add_executable(package_load EXCLUDE_FROM_ALL bench/package_load.cpp)
  target_include_directories(package_load PRIVATE ${CMAKE_SOURCE_DIR})
  add_dependencies(package_load WTarnD11 toolsapi empty_dll)
endif()

# A CMake package for client programs: cmake --install <build> --prefix <prefix> puts the public
# headers (those of the exported units and what they include) into include/WTarn, the import
# libraries into lib, the DLL with the runtime DLLs and toolsapi.dll (the IDE's service
# references, which the DLL loads) into bin, and WTarnConfig.cmake with its version file and the
# exported targets WTarn::WTarnD11 and WTarn::toolsapi into lib/cmake/WTarn. The consumer test
# builds a client from that prefix.
file(GLOB WTARN_PUBLIC_HEADERS RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS kv_tools/*.h tarnedata/*.h)
list(REMOVE_ITEM WTARN_PUBLIC_HEADERS kv_tools/folders_platform.h)
list(APPEND WTARN_PUBLIC_HEADERS view/main_frame.h package/constants.h package/creator.h
  package/package.h package/dversion.h toolsapi/toolsapi.h)
foreach(h canvas_win controls_win encoding errors export format_settings forms_win graphics_win
          handles ini_file lists_win registry rich_edit_win stdctrls_win stream string string_list)
  list(APPEND WTARN_PUBLIC_HEADERS rtl/${h}.h)
endforeach()
foreach(h IN LISTS WTARN_PUBLIC_HEADERS)
  get_filename_component(dir ${h} DIRECTORY)
  install(FILES ${h} DESTINATION include/WTarn/${dir})
endforeach()
install(TARGETS WTarnD11 toolsapi EXPORT WTarnTargets RUNTIME DESTINATION bin
        ARCHIVE DESTINATION lib INCLUDES DESTINATION include/WTarn)
install(FILES ${WTARN_RUNTIME_DLLS} DESTINATION bin)
install(EXPORT WTarnTargets NAMESPACE WTarn:: DESTINATION lib/cmake/WTarn)
include(CMakePackageConfigHelpers)
configure_package_config_file(cmake/WTarnConfig.cmake.in ${CMAKE_BINARY_DIR}/WTarnConfig.cmake
                              INSTALL_DESTINATION lib/cmake/WTarn)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/WTarnConfigVersion.cmake
                                 VERSION ${WTARN_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/WTarnConfig.cmake ${CMAKE_BINARY_DIR}/WTarnConfigVersion.cmake
        DESTINATION lib/cmake/WTarn)
foreach(wine IN LISTS WTARN_WINES)
  add_test(NAME wine${wine}_consumer
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/consumer/consumer_test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(wine${wine}_consumer PROPERTIES ENVIRONMENT WTARN_WINE=${wine})
endforeach()
