# Installation: the public headers under include/plimo/, the static
# libraries and a CMake package, so that another project does
#   find_package(Plimo 2.0 CONFIG REQUIRED)
#   target_link_libraries(app PRIVATE Plimo::graph Plimo::console Plimo::frame)
#   #include <plimo/Graph.h>
# and the programs (the viewer, the gallery), and the toolchain file this
# package was built with. Each installed library target carries what it links
# against, so the link order comes out right whichever of the three a program
# names. The internal headers stay in the tree.
include(CMakePackageConfigHelpers)

set(PLIMO_PACKAGE_DIR lib/cmake/Plimo)

foreach(part frame console graph)
  set_target_properties(plimo_${part} PROPERTIES EXPORT_NAME ${part})
  set_target_properties(plimo_${part}_logic PROPERTIES EXPORT_NAME ${part}_logic)
  install(TARGETS plimo_${part} plimo_${part}_logic EXPORT PlimoTargets
          ARCHIVE DESTINATION lib
          INCLUDES DESTINATION include)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/${part}/include/ DESTINATION include/plimo)
endforeach()

# A program linked with the libraries stands alone by default, as plimo.exe
# does: without -static it needs the MinGW runtime DLLs beside it, and
# without them it ends at once with no word. A program that ships those DLLs
# sets its property PLIMO_SHARED_RUNTIME to ON.
target_link_options(plimo_frame INTERFACE $<$<NOT:$<BOOL:$<TARGET_PROPERTY:PLIMO_SHARED_RUNTIME>>>:-static>)

# The BGI (component bgi): its headers in a folder of their own, the one a
# program puts on its include path for <graphics.h>, so that IO.h, Lib.h and
# the rest do not come under their bare names with it; and its pkg-config file.
set_target_properties(plimo_bgi PROPERTIES EXPORT_NAME bgi)
set_target_properties(plimo_bgi_logic PROPERTIES EXPORT_NAME bgi_logic)
install(TARGETS plimo_bgi plimo_bgi_logic EXPORT PlimoTargets
        ARCHIVE DESTINATION lib
        INCLUDES DESTINATION include/plimo/bgi)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/bgi/include/ DESTINATION include/plimo/bgi)
set(PLIMO_ARCH ${CMAKE_SYSTEM_PROCESSOR})
configure_file(${CMAKE_SOURCE_DIR}/bgi/plimo-bgi.pc.in ${CMAKE_BINARY_DIR}/package/plimo-bgi.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/package/plimo-bgi.pc DESTINATION lib/pkgconfig)

install(EXPORT PlimoTargets NAMESPACE Plimo:: DESTINATION ${PLIMO_PACKAGE_DIR})

set(package ${CMAKE_BINARY_DIR}/package)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/PlimoConfig.cmake.in ${package}/PlimoConfig.cmake
  INSTALL_DESTINATION ${PLIMO_PACKAGE_DIR})
# The version rule (same major version) apart from the platform check, which
# PlimoConfigVersion.cmake adds with a reason a user can act on.
write_basic_package_version_file(${package}/PlimoVersionNumber.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
set(PLIMO_ARCH ${CMAKE_SYSTEM_PROCESSOR})
set(toolchains)
if(CMAKE_TOOLCHAIN_FILE)
  get_filename_component(PLIMO_TOOLCHAIN_NAME ${CMAKE_TOOLCHAIN_FILE} NAME)
  set(toolchains ${CMAKE_TOOLCHAIN_FILE})
else()
  set(PLIMO_TOOLCHAIN_NAME "<a MinGW-w64 toolchain file for ${PLIMO_ARCH}>")
endif()
configure_file(${CMAKE_SOURCE_DIR}/cmake/PlimoConfigVersion.cmake.in ${package}/PlimoConfigVersion.cmake @ONLY)
install(FILES ${package}/PlimoConfig.cmake ${package}/PlimoConfigVersion.cmake ${package}/PlimoVersionNumber.cmake
              ${toolchains}
        DESTINATION ${PLIMO_PACKAGE_DIR})

install(TARGETS plimo gallery RUNTIME DESTINATION bin)
