include(GoogleTest)

# zorv_add_test(NAME SOURCES a.cpp ... LIBS lib ... LABELS unit|gui|e2e [TSAN] [GUI])
# One executable per call; every test case becomes a CTest test carrying the labels.
# TSAN marks thread tests that also run in the ThreadSanitizer build; GUI tests get a
# QApplication (on the offscreen platform) instead of a QCoreApplication.
function(zorv_add_test name)
  cmake_parse_arguments(ARG "TSAN;GUI" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_GUI)
    set(main zorv_gui_test_main)
  else()
    set(main zorv_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} zorv_test_support ${main} GTest::gtest
                                        GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    ZORV_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    ZORV_BINARY_DIR="${PROJECT_BINARY_DIR}")
  zorv_warnings(${name})
  set(labels ${ARG_LABELS})
  if(ARG_TSAN)
    string(APPEND labels "-tsan")  # one label (discovery splits lists); ctest -L matches parts
    add_dependencies(zorv_tsan_tests ${name})
  endif()
  if(ZORV_TSAN AND NOT ARG_TSAN)
    set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL ON)
    return()
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${labels}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
