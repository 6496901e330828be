# Installation: the public headers, the static libraries and a CMake package,
# so that another project does
#   find_package(Plimo CONFIG REQUIRED)
#   target_link_libraries(app PRIVATE Plimo::graph Plimo::console Plimo::frame)
# and the programs (the viewer, the gallery). Each installed library target
# carries what it links against, so the link order comes out right whichever
# of the three a program names. The internal headers stay in the tree.
include(CMakePackageConfigHelpers)

set(PLIMO_PACKAGE_DIR lib/cmake/Plimo)

foreach(part frame console graph)
  set_target_properties(plimo_${part} PROPERTIES EXPORT_NAME ${part})
  set_target_properties(plimo_${part}_logic PROPERTIES EXPORT_NAME ${part}_logic)
  install(TARGETS plimo_${part} plimo_${part}_logic EXPORT PlimoTargets
          ARCHIVE DESTINATION lib
          INCLUDES DESTINATION include)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/${part}/include/ DESTINATION include)
endforeach()

install(EXPORT PlimoTargets NAMESPACE Plimo:: DESTINATION ${PLIMO_PACKAGE_DIR})
file(WRITE ${CMAKE_BINARY_DIR}/package/PlimoConfig.cmake
     "include(\"\${CMAKE_CURRENT_LIST_DIR}/PlimoTargets.cmake\")\n")
# The version file also refuses a package built for the other architecture
# (win32 against win64).
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/PlimoConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/package/PlimoConfig.cmake
              ${CMAKE_BINARY_DIR}/package/PlimoConfigVersion.cmake
        DESTINATION ${PLIMO_PACKAGE_DIR})

install(TARGETS plimo gallery RUNTIME DESTINATION bin)
