# Shared helpers for the module CMakeLists files.
include(GoogleTest)

# nv_library(name SOURCES ... [DEPS ...]): one static library per module.
function(nv_library name)
  cmake_parse_arguments(NV "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${NV_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${NV_DEPS})
  set_property(GLOBAL APPEND PROPERTY NV_LIBRARIES ${name})
endfunction()

# nv_test(name SOURCES ... [DEPS ...]): a GoogleTest executable registered with CTest.
# Tests run with the build tree's resources (scripts/run-tests.sh gives them a private XDG_CONFIG_HOME).
function(nv_test name)
  cmake_parse_arguments(NV "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${NV_SOURCES})
  target_link_libraries(${name} PRIVATE ${NV_DEPS} nv_testsupport GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "NV_RESOURCES_DIR=${NV_RESOURCES_DIR}")
endfunction()
