# stratum_add_png_resources(TARGET name [FUNCTION fn] RESOURCES id file [id file ...])
#
# Builds static library `name` that embeds each PNG file into the module and a
# registration function `fn` (default: <name>_Register) that makes them
# available to RAS_FindResource as ("PNG", id). Declared in the generated
# header "<name>.h", which the library puts on its users' include path. The
# module calls the function once (registration is idempotent) before it loads
# any image; an explicit call survives the linker dropping unreferenced
# archive members, which registration from static initialisers would not.
#
#   stratum_add_png_resources(TARGET stratum_images RESOURCES
#     101 img/background.png
#     102 img/meter.png)
#   ...
#   #include "stratum_images.h"
#   stratum_images_Register();
#
# Relative file names are taken from the calling folder. This file checks the
# arguments; how the bytes get into the module is the platform's business
# (stratum_embed_png_resources in posix/ or win32/EmbedPngResources.cmake).
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/win32/EmbedPngResources.cmake)
else()
  include(${CMAKE_CURRENT_LIST_DIR}/posix/EmbedPngResources.cmake)
endif()

function(stratum_add_png_resources)
  cmake_parse_arguments(R "" "TARGET;FUNCTION" "RESOURCES" ${ARGN})
  if(NOT R_TARGET)
    message(FATAL_ERROR "stratum_add_png_resources: TARGET is required")
  endif()
  if(NOT R_FUNCTION)
    set(R_FUNCTION ${R_TARGET}_Register)
  endif()
  list(LENGTH R_RESOURCES count)
  math(EXPR odd "${count} % 2")
  if(count EQUAL 0 OR odd)
    message(FATAL_ERROR "stratum_add_png_resources: RESOURCES takes pairs of id and file")
  endif()

  set(ids "")
  set(files "")
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR fileIndex "${i} + 1")
    list(GET R_RESOURCES ${i} id)
    list(GET R_RESOURCES ${fileIndex} file)
    if(NOT id MATCHES "^[0-9]+$")
      message(FATAL_ERROR "stratum_add_png_resources: resource id '${id}' is not a number")
    endif()
    get_filename_component(path "${file}" ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    if(NOT EXISTS "${path}")
      message(FATAL_ERROR "stratum_add_png_resources: '${path}' does not exist")
    endif()
    file(TO_CMAKE_PATH "${path}" path)
    list(APPEND ids ${id})
    list(APPEND files "${path}")
  endforeach()

  stratum_embed_png_resources(${R_TARGET} ${R_FUNCTION} "${ids}" "${files}")
endfunction()
