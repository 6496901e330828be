# The graphics window, its thread and Graph_Init. The key translation is
# plain C++ and also builds natively.
add_library(graph_keys STATIC ${CMAKE_CURRENT_LIST_DIR}/keys.cpp)
target_include_directories(graph_keys PUBLIC ${CMAKE_CURRENT_LIST_DIR})

if(NOT PLIMO_NATIVE)
  target_sources(graph PRIVATE ${CMAKE_CURRENT_LIST_DIR}/window.cpp ${CMAKE_CURRENT_LIST_DIR}/init.cpp)
  target_link_libraries(graph PUBLIC graph_keys)
endif()
