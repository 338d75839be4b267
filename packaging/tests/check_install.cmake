# cmake --install into a fresh prefix, every component: exactly the game's
# files arrive, the program executable, nothing of the tools or tests.
# -DBUILD_DIR -DPREFIX -DSIZES="16 32 ..." -DAPP_ID
include(${CMAKE_CURRENT_LIST_DIR}/require_tool.cmake)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${out}")
endif()
list_files_below(installed ${PREFIX})
expected_game_files(expected "${SIZES}" ${APP_ID})
expect_same_list("cmake --install put" "${installed}" "${expected}")
find_program(program kravix PATHS ${PREFIX}/bin NO_DEFAULT_PATH NO_CACHE)
if(NOT program)
  message(FATAL_ERROR "${PREFIX}/bin/kravix is not executable")
endif()
file(REMOVE_RECURSE ${PREFIX})
