# Runs one validator on FILE: -DTOOL=name -DPACKAGE=debian-package
# -DARGS="options" -DFILE=path. It fails on a non-zero status and, with
# -DQUIET=ON, on anything the tool says (errors, warnings, hints) on standard
# error, and on standard output too unless the output is the document (man).
include(${CMAKE_CURRENT_LIST_DIR}/require_tool.cmake)
require_tool(tool ${TOOL} ${PACKAGE})
separate_arguments(ARGS)
execute_process(COMMAND ${tool} ${ARGS} ${FILE} RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
set(said "${err}")
if(NOT TOOL STREQUAL "man")
  string(APPEND said "${out}")
endif()
if(NOT status EQUAL 0 OR (QUIET AND NOT said STREQUAL ""))
  message(FATAL_ERROR "${TOOL} ${ARGS} ${FILE}: status ${status}\n${said}")
endif()
message(STATUS "${TOOL}: ${FILE} passes")
