# The viewer's benchmark (run by hand inside a wine session; needs a display).
if(NOT PLIMO_NATIVE)
  add_executable(viewer_bench ${CMAKE_CURRENT_LIST_DIR}/viewer_bench.cpp)
  target_link_libraries(viewer_bench PRIVATE plimo_viewer psapi)
endif()
