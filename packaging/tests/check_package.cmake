# cpack -G DEB makes kravix_<version>_<arch>.deb holding exactly the game's
# files under /usr, with its library dependencies found by dpkg-shlibdeps.
# -DBUILD_DIR -DWORK -DCPACK -DVERSION -DSIZES="16 32 ..." -DAPP_ID
include(${CMAKE_CURRENT_LIST_DIR}/require_tool.cmake)
require_tool(dpkg dpkg dpkg)
require_tool(dpkg_deb dpkg-deb dpkg)
require_tool(dpkg_shlibdeps dpkg-shlibdeps dpkg-dev)
require_tool(file_tool file file)

file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack -G DEB failed:\n${out}")
endif()
execute_process(COMMAND ${dpkg} --print-architecture OUTPUT_VARIABLE arch
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(deb ${WORK}/kravix_${VERSION}_${arch}.deb)
if(NOT EXISTS ${deb})
  file(GLOB made ${WORK}/*.deb)
  message(FATAL_ERROR "no ${deb}; cpack made: ${made}")
endif()

execute_process(COMMAND ${dpkg_deb} -c ${deb} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "dpkg-deb -c cannot read ${deb}")
endif()
message(STATUS "dpkg-deb -c ${deb}:\n${listing}")
string(REGEX MATCHALL "\\./usr/[^\n]*[^/\n]\n" entries "${listing}")
set(packaged)
foreach(entry ${entries})
  string(REGEX REPLACE "^\\./usr/|\n$" "" entry "${entry}")
  list(APPEND packaged ${entry})
endforeach()
list(SORT packaged)
expected_game_files(expected "${SIZES}" ${APP_ID})
expect_same_list("the package holds" "${packaged}" "${expected}")

execute_process(COMMAND ${dpkg_deb} -f ${deb} Package Version Architecture Depends Section
                OUTPUT_VARIABLE fields)
foreach(wanted "Package: kravix" "Version: ${VERSION}" "Architecture: ${arch}" "Section: games")
  string(FIND "${fields}" "${wanted}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the control fields lack \"${wanted}\":\n${fields}")
  endif()
endforeach()
foreach(library libc6 libsdl2 libstdc\\+\\+)
  if(NOT fields MATCHES "Depends:[^\n]*${library}")
    message(FATAL_ERROR "Depends misses ${library}:\n${fields}")
  endif()
endforeach()

# The program in the package is stripped.
execute_process(COMMAND ${dpkg_deb} -x ${deb} ${WORK}/root)
execute_process(COMMAND ${file_tool} -b ${WORK}/root/usr/bin/kravix OUTPUT_VARIABLE kind)
if(NOT kind MATCHES ", stripped")
  message(FATAL_ERROR "usr/bin/kravix in the package is not stripped: ${kind}")
endif()
file(REMOVE_RECURSE ${WORK})
