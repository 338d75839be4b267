# The icons drawn at build time and the screenshot are whole PNG files (every
# chunk's CRC, the zlib stream and its Adler-32 checked by pngcheck) of the
# sizes they claim. -DICON_DIR -DSIZES="16 32 ..." -DSCREENSHOT=path
include(${CMAKE_CURRENT_LIST_DIR}/require_tool.cmake)
require_tool(file_tool file file)
require_tool(pngcheck pngcheck pngcheck)

function(check_picture path width height)
  execute_process(COMMAND ${pngcheck} ${path} RESULT_VARIABLE status OUTPUT_VARIABLE out
                  ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "pngcheck finds ${path} damaged:\n${out}")
  endif()
  execute_process(COMMAND ${file_tool} -b ${path} OUTPUT_VARIABLE kind
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT kind STREQUAL "PNG image data, ${width} x ${height}, 8-bit/color RGB, non-interlaced")
    message(FATAL_ERROR "${path} is \"${kind}\", not a ${width}x${height} RGB PNG")
  endif()
endfunction()

separate_arguments(SIZES)
foreach(size ${SIZES})
  check_picture(${ICON_DIR}/kravix-${size}.png ${size} ${size})
endforeach()
check_picture(${SCREENSHOT} 1600 1200)
