# velarix_add_test(NAME source... [LIBS lib...])
# One QtTest executable per area, run offscreen with a fixed locale.
function(velarix_add_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE Qt6::Test velarix_testsupport ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;LC_ALL=C.UTF-8;VELARIX_PROGRAM_DIR=${PROGRAM_DIR}"
    TIMEOUT 300)
endfunction()
