# Console library benchmark (run by hand inside a wine session; needs a display).
if(NOT PLIMO_NATIVE)
  add_executable(console_bench ${CMAKE_CURRENT_LIST_DIR}/console_bench.cpp)
  target_link_libraries(console_bench PRIVATE console)
endif()
