# Renders level 1 with the path of a short flight: from the title into level 1,
# thrust straight up from the start, then F12. The path must be counted and
# drawn in magenta up from the start, where the plain picture has the white cross.
file(WRITE ${WORK}/up.script "wait 2\nhold ENTER 1\nwait 300\nhold ENTER 1\nhold RSHIFT 30\nwait 20\n")
execute_process(COMMAND ${TOOL} render 1 ${WORK}/route.ppm --route ${WORK}/up.script
  RESULT_VARIABLE status OUTPUT_VARIABLE said)
if(NOT status EQUAL 0 OR NOT said MATCHES "level 1: [1-9][0-9]+ route points in 1 attempts, ball taken 0 times")
  message(FATAL_ERROR "kravix-levels render --route failed (${status}): ${said}")
endif()
# Pixels at (1200, 550), the start, and (1200, 530), above it: 3 bytes each after the 17-byte header.
foreach(row 550 530)
  math(EXPR offset "17 + 3 * (${row} * 2400 + 1200)")
  file(READ ${WORK}/route.ppm pixel OFFSET ${offset} LIMIT 3 HEX)
  if(NOT pixel STREQUAL "ff00ff")
    message(FATAL_ERROR "no magenta path at (1200, ${row}): ${pixel}")
  endif()
endforeach()
file(REMOVE ${WORK}/route.ppm)
