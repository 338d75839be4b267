# Included by the checks: require_tool(VAR name package) finds a program or
# fails the test saying which Debian package brings it, never skipping quietly.
function(require_tool variable name package)
  find_program(${variable} ${name})
  if(NOT ${variable})
    message(FATAL_ERROR "${name} is missing: install the Debian package ${package} "
                        "(./kravix.sh test installs it)")
  endif()
  set(${variable} ${${variable}} PARENT_SCOPE)
endfunction()

# Sorted paths of the regular files and links below folder, relative to it.
function(list_files_below variable folder)
  file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${folder} ${folder}/*)
  list(SORT found)
  set(${variable} ${found} PARENT_SCOPE)
endfunction()

# The files the game installs, relative to the prefix, sorted.
function(expected_game_files variable sizes app_id)
  separate_arguments(sizes)
  set(files bin/kravix share/applications/${app_id}.desktop share/kravix/demos/playthrough.script
            share/kravix/screenshots/level1.png share/man/man6/kravix.6
            share/metainfo/${app_id}.metainfo.xml)
  foreach(size ${sizes})
    list(APPEND files share/icons/hicolor/${size}x${size}/apps/${app_id}.png)
  endforeach()
  list(SORT files)
  set(${variable} ${files} PARENT_SCOPE)
endfunction()

function(expect_same_list what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    string(REPLACE ";" "\n  " actual "${actual}")
    string(REPLACE ";" "\n  " expected "${expected}")
    message(FATAL_ERROR "${what}:\n  ${actual}\nbut expected:\n  ${expected}")
  endif()
endfunction()
