# Feeds the level compiler faulty sources and checks that it stops with "file:line: why".
function(expect_fault name text why)
  set(source ${WORK}/${name}.txt)
  file(WRITE ${source} "${text}")
  execute_process(COMMAND ${COMPILER} ${WORK}/out.cpp ${source} ${source} ${source} ${source} ${source}
                          ${source} ${source} ${source}
                  RESULT_VARIABLE status ERROR_VARIABLE error)
  if(status EQUAL 0 OR NOT error MATCHES "${name}\\.txt:${why}")
    message(FATAL_ERROR "${name}: status ${status}, said: ${error}")
  endif()
endfunction()

string(REPEAT "." 300 free)
string(REPEAT "." 299 rest)
file(MAKE_DIRECTORY ${WORK})
expect_fault(short-line "level 1\ncolour A 43\ngrid 600\n.....\nend\n" "4: a grid line holds 5 cells, not 300")
expect_fault(unknown-letter "level 1\ncolour A 43\ngrid 600\nB${rest}\nend\n" "4: undeclared cell letter 'B'")
expect_fault(wrong-level "level 2\n" "1: this file should hold level 1")
expect_fault(no-ball "level 1\ncolour A 43\ngrid 600\n${free}\nend\n" " no ball")
expect_fault(colour-zero "level 1\ncolour A 0\n" "2: a colour is 1..255")
