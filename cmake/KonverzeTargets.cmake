# Helpers that give every target of ours the same language level and warnings.

function(konverze_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# konverze_library(<name> [STATIC|SHARED] SOURCES <files...> [PUBLIC_LINK <libs...>])
# Headers are included from the repository root: #include "platform/core/Component.h".
function(konverze_library name)
  cmake_parse_arguments(ARG "SHARED" "" "SOURCES;PUBLIC_LINK;PRIVATE_LINK" ${ARGN})
  if(ARG_SHARED)
    add_library(${name} SHARED ${ARG_SOURCES})
  else()
    add_library(${name} STATIC ${ARG_SOURCES})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_features(${name} PUBLIC cxx_std_20)
  if(ARG_PUBLIC_LINK)
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LINK})
  endif()
  if(ARG_PRIVATE_LINK)
    target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_LINK})
  endif()
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  konverze_warnings(${name})
endfunction()

# konverze_test(<name> SOURCES <files...> LINK <libs...> [GUI] [WEB])
# GUI tests run headless; WEB tests also get the web engine's headless settings.
function(konverze_test name)
  cmake_parse_arguments(ARG "GUI;WEB" "TIMEOUT" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gmock)
  if(NOT ARG_GUI AND NOT ARG_WEB)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  konverze_warnings(${name})
  set(env "KONVERZE_TEST_SOURCE_DIR=${PROJECT_SOURCE_DIR}" "KONVERZE_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
  if(ARG_GUI OR ARG_WEB)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  if(ARG_WEB)
    list(APPEND env "QTWEBENGINE_DISABLE_SANDBOX=1" "QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --no-sandbox")
  endif()
  include(GoogleTest)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  # Web engine tests run one at a time: several engines starting together on a
  # loaded machine make page loads slow enough to miss their waits.
  set(lock "")
  if(ARG_WEB)
    set(lock RESOURCE_LOCK web_engine)
  endif()
  gtest_discover_tests(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} ${lock} DISCOVERY_TIMEOUT 60)
  # The environment is set by a file of our own that ctest reads after the
  # discovered tests: passed through gtest_discover_tests, the list of
  # variables falls apart into separate property arguments.
  set(env_file "${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake")
  file(WRITE "${env_file}"
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT \"${env}\")\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${env_file}")
endfunction()
