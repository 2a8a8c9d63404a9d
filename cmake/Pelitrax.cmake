# Helpers shared by every folder's CMakeLists: warnings, libraries, tests.

# Warnings for the project's own targets (never for third-party code).
function(pelitrax_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wno-unused-parameter)
  if(PELITRAX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(PELITRAX_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
      -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# pelitrax_library(NAME SOURCES ... LIBS ...): one static library for one src folder.
# The include root is src/, so code includes "util/ini.h", "platform/boucle.h".
function(pelitrax_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT A_SOURCES)
    # A folder with nothing built yet still exists as a link target.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${A_LIBS})
    return()
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${A_LIBS})
  pelitrax_warnings(${name})
endfunction()

# pelitrax_test(NAME LABEL label SOURCES ... LIBS ... [QT]): a GoogleTest program whose
# cases CTest discovers; LABEL names the folder (util, instruments, links, plot, core,
# exchange, dialogs, window, tools) so that `ctest -L label` runs one subsystem.
# Every test program runs in its own scratch folder under the build tree; its main()
# (tests/commun/main_test.cpp) points HOME and the configuration folders there, so no
# test touches the user's real files, and gives each case a folder of its own.
function(pelitrax_test name)
  cmake_parse_arguments(A "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT A_LABEL)
    message(FATAL_ERROR "pelitrax_test(${name}) needs a LABEL")
  endif()
  add_executable(${name} ${A_SOURCES} ${PROJECT_SOURCE_DIR}/tests/commun/main_test.cpp)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests
    ${PROJECT_SOURCE_DIR}/tools)
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    PELITRAX_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    PELITRAX_ARTEFACTS_DIR="${PROJECT_BINARY_DIR}/artefacts"
    PELITRAX_FIXTURES_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
  pelitrax_warnings(${name})
  set(scratch ${PROJECT_BINARY_DIR}/scratch/${name})
  file(MAKE_DIRECTORY ${scratch})
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/artefacts)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${scratch}
    PROPERTIES LABELS ${A_LABEL}
      ENVIRONMENT "HOME=${scratch}"
    DISCOVERY_TIMEOUT 60)
endfunction()
