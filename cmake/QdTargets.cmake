# Every subsystem folder is one static library made of the sources in it, so adding
# a file to a folder needs no build edit. FOLDERS names further folders (from the
# project root) whose sources belong to the same library.
function(qd_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;FOLDERS" ${ARGN})
  set(_globs ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(_folder IN LISTS ARG_FOLDERS)
    list(APPEND _globs ${PROJECT_SOURCE_DIR}/${_folder}/*.cpp)
  endforeach()
  file(GLOB _srcs CONFIGURE_DEPENDS ${_globs})
  if(_srcs)
    add_library(${name} STATIC ${_srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    # A folder with headers only so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# One GoogleTest executable per tested folder, labelled with the folder's name so that
# a run can pick a subsystem (the sanitizer run picks the raster tests).
function(qd_add_tests folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(_exe test_${folder})
  add_executable(${_exe} ${_srcs})
  target_include_directories(${_exe} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${_exe} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${_exe} PRIVATE QD_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${_exe} PROPERTIES LABELS ${folder} ENVIRONMENT FONTCONFIG_FILE=${QD_FONTCONFIG_FILE}
    DISCOVERY_TIMEOUT 60)
endfunction()
