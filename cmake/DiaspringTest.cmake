# add_diaspring_test(<name> SOURCES <files...> [LIBS <targets...>] [QT])
# One executable per module, registered with CTest through gtest_discover_tests.
# QT tests get the Qt test main (offscreen platform unless one is set).
include(GoogleTest)

function(add_diaspring_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE diaspring_qt_test_main Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()
