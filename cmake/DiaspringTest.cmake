# add_diaspring_test(<name> SOURCES <files...> [LIBS <targets...>] [QT] [TIMEOUT <seconds>])
# One executable per module, registered with CTest through gtest_discover_tests.
# QT tests get the Qt test main (offscreen platform unless one is set).
# TIMEOUT (default 300 s) bounds each test: a module of long searches takes
# more on a busy machine, where the limit must not decide the verdict.
include(GoogleTest)

function(add_diaspring_test name)
  cmake_parse_arguments(ARG "QT" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE diaspring_qt_test_main Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT ${ARG_TIMEOUT})
endfunction()
