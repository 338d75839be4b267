# Fails when a test of the build has no TIMEOUT property: such a test could keep
# CI waiting for ever. Run by CTest as:
#   cmake -DCTEST=<ctest> -DBUILD=<build folder> -P every_test_has_a_timeout.cmake
execute_process(COMMAND ${CTEST} --test-dir ${BUILD} --show-only=json-v1
  OUTPUT_VARIABLE listing COMMAND_ERROR_IS_FATAL ANY)
string(JSON count LENGTH "${listing}" tests)
math(EXPR last "${count} - 1")
foreach(index RANGE ${last})
  string(JSON properties ERROR_VARIABLE none GET "${listing}" tests ${index} properties)
  if(NOT properties MATCHES "\"name\" *: *\"TIMEOUT\"")
    string(JSON name GET "${listing}" tests ${index} name)
    list(APPEND missing ${name})
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n  " listed_missing)
  message(FATAL_ERROR "tests without a TIMEOUT:\n  ${listed_missing}")
endif()
message(STATUS "all ${count} tests have a TIMEOUT")
