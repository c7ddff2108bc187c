# velarix_add_test(NAME source... [CORE] [LIBS lib...])
# velarix_add_test(NAME SCRIPT script [ARGS arg...])
# velarix_add_test(NAME EXECUTABLE test [ARGS arg...])  another run of a test
# Every test is registered here: one QtTest executable per area (or a shell
# script), run offscreen with a fixed locale. A CORE test links the core
# library and the core test support alone, so a window class reached from the
# rules fails its build.
function(velarix_add_test name)
  cmake_parse_arguments(ARG "CORE" "SCRIPT;EXECUTABLE" "LIBS;ARGS" ${ARGN})
  if(ARG_SCRIPT)
    add_test(NAME ${name} COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SCRIPT} ${ARG_ARGS})
  elseif(ARG_EXECUTABLE)
    add_test(NAME ${name} COMMAND ${ARG_EXECUTABLE} ${ARG_ARGS})
  else()
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    if(ARG_CORE)
      target_link_libraries(${name} PRIVATE Qt6::Test velarix_testsupport_core velarix_core ${ARG_LIBS})
    else()
      target_link_libraries(${name} PRIVATE Qt6::Test velarix_testsupport ${ARG_LIBS})
    endif()
    add_test(NAME ${name} COMMAND ${name} ${ARG_ARGS})
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;LC_ALL=C.UTF-8;VELARIX_PROGRAM_DIR=${PROGRAM_DIR}"
    TIMEOUT 300)
endfunction()
