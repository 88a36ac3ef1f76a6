include(GoogleTest)

# zorv_add_test(NAME SOURCES a.cpp ... LIBS lib ... LABELS unit|gui|e2e [TSAN] [GUI]
#               [PER_CASE | ONE_ENTRY] [SHARDS n])
# One executable per call, carrying the labels. TSAN marks thread tests that also run in the
# ThreadSanitizer build; GUI tests get a QApplication (on the offscreen platform) instead of a
# QCoreApplication.
#
# How CTest runs it: a program of quick cases is one CTest entry (one process for all its cases:
# starting a process per case cost more than most cases take), and a failing case is named in
# its output ("[  FAILED  ] Suite.Case"). A program of slow cases gets one entry per case, so
# `ctest -j` spreads them over the cores. PER_CASE or ONE_ENTRY chooses; without either, programs
# labelled e2e (real time against zorv-sim) get an entry per case, the others one entry.
# SHARDS n splits a long one-entry program into n entries (GoogleTest's sharding: each runs
# every n-th case), so one program does not keep a core busy long after the others are done.
# COST s gives each entry's seconds, as measured: `ctest -j` starts the costliest first, so the
# long ones do not set the tail, in a fresh tree too. Entries without it are ordered by ctest's
# own record of earlier runs (Testing/Temporary/CTestCostData.txt), which a COST overrides.
function(zorv_add_test name)
  cmake_parse_arguments(ARG "TSAN;GUI;PER_CASE;ONE_ENTRY" "SHARDS;COST" "SOURCES;LIBS;LABELS"
                        ${ARGN})
  set(cost "")
  if(ARG_COST)
    set(cost COST ${ARG_COST})
  endif()
  if(ARG_PER_CASE AND ARG_ONE_ENTRY)
    message(FATAL_ERROR "zorv_add_test(${name}): PER_CASE and ONE_ENTRY exclude each other")
  endif()
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
  set(per_case ${ARG_PER_CASE})
  if(NOT ARG_PER_CASE AND NOT ARG_ONE_ENTRY AND labels MATCHES "e2e")
    set(per_case ON)
  endif()
  if(per_case)
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS "${labels}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${cost})
  elseif(ARG_SHARDS GREATER 1)
    math(EXPR last "${ARG_SHARDS} - 1")
    foreach(shard RANGE ${last})
      add_test(NAME ${name}_${shard} COMMAND ${name})
      set_tests_properties(${name}_${shard} PROPERTIES LABELS "${labels}" ${cost} ENVIRONMENT
        "QT_QPA_PLATFORM=offscreen;GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${shard}")
    endforeach()
  else()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "${labels}" ${cost}
                                            ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
