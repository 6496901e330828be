# The window's two figures: Graph_Init's time to return, and the time from a
# key message posted to the window to IO_KeyPressed.
if(NOT PLIMO_NATIVE)
  add_executable(window_bench ${CMAKE_CURRENT_LIST_DIR}/window_bench.cpp)
  target_link_libraries(window_bench PRIVATE graph console)
endif()
