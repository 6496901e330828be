# One naming rule for the libraries. A part (frame, console, graph) lives in
# its folder <part>/ and makes:
#   plimo_<part>           the Win32 library a program links; Plimo::<part>;
#   plimo_<part>_logic     its platform-free sources, built in every preset;
#   plimo_<part>_internal  its own headers (the folder itself) on top of the
#                          library, for its tests and benchmarks, and for the
#                          part above that shares an internal interface with it.
# The libraries export only <part>/include, the public headers; everything
# else in the folder stays private to the part. Programs name a public header
# as the installed package has it, <plimo/Graph.h>: the build tree keeps a
# copy of each under <build>/include/plimo/ for that (the tree's own code
# also names it plainly, "Graph.h").
#
# plimo_part(<part> LOGIC src... [SOURCES src...] [USES part...] [LINKS lib...])
#   USES   lower parts whose internal headers this part's sources include;
#   LINKS  what the Win32 library needs at the program's link.
function(plimo_part part)
  cmake_parse_arguments(ARG "" "" "LOGIC;SOURCES;USES;LINKS" ${ARGN})
  set(public $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include> $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/include>)
  # configure_file: the copy follows the header at every build.
  file(GLOB headers ${CMAKE_CURRENT_SOURCE_DIR}/include/*.h)
  foreach(header ${headers})
    get_filename_component(name ${header} NAME)
    configure_file(${header} ${PROJECT_BINARY_DIR}/include/plimo/${name} COPYONLY)
  endforeach()
  set(uses)
  foreach(lower ${ARG_USES})
    list(APPEND uses $<BUILD_INTERFACE:plimo_${lower}_internal>)
  endforeach()

  add_library(plimo_${part}_logic STATIC ${ARG_LOGIC})
  target_include_directories(plimo_${part}_logic PUBLIC ${public} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(plimo_${part}_logic PRIVATE ${uses})
  set(library plimo_${part}_logic)

  if(NOT PLIMO_NATIVE)
    add_library(plimo_${part} STATIC ${ARG_SOURCES})
    target_include_directories(plimo_${part} PUBLIC ${public} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(plimo_${part} PUBLIC plimo_${part}_logic ${ARG_LINKS} PRIVATE ${uses})
    add_library(Plimo::${part} ALIAS plimo_${part})
    set(library plimo_${part})
  endif()

  add_library(plimo_${part}_internal INTERFACE)
  target_include_directories(plimo_${part}_internal INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(plimo_${part}_internal INTERFACE ${library} ${uses})
endfunction()
