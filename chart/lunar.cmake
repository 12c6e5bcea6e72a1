# The lunar calendar: the new-moon table and the service built on it and on
# the solar-term table. Its texts are UTF-8: the names' source is compiled so;
# the others hold no texts and read the library's GBK headers.
add_library(pillarlunar STATIC
  ${CMAKE_CURRENT_LIST_DIR}/lunar_calendar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lunar_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/new_moon_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/texts.cpp)  # pillarcore's texts in UTF-8, shared with the chart engine
target_include_directories(pillarlunar PUBLIC ${CMAKE_CURRENT_LIST_DIR})
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/lunar_names.cpp PROPERTIES
                            COMPILE_OPTIONS -fexec-charset=UTF-8)
target_link_libraries(pillarlunar PUBLIC pillarcore)
