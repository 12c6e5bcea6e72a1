# The lunar calendar's tests. Their texts are UTF-8, like the service's.
find_package(GTest REQUIRED)
include(GoogleTest)
add_executable(lunar_tests
  ${CMAKE_CURRENT_LIST_DIR}/lunar_calendar_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lunar_table_test.cpp)
target_compile_options(lunar_tests PRIVATE -fexec-charset=UTF-8)
target_link_libraries(lunar_tests PRIVATE pillarlunar GTest::gtest_main)
target_compile_definitions(lunar_tests PRIVATE
  NEW_MOONS_GENERATOR="$<TARGET_FILE:new_moons>"
  DELTA_T_CSV="${PILLAR_DELTA_T_CSV}"
  SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_dependencies(lunar_tests new_moons)
gtest_discover_tests(lunar_tests DISCOVERY_TIMEOUT 60)

find_package(nlohmann_json REQUIRED)
add_executable(lunar_command_tests ${CMAKE_CURRENT_LIST_DIR}/lunar_command_test.cpp)
target_compile_options(lunar_command_tests PRIVATE -fexec-charset=UTF-8)
target_compile_definitions(lunar_command_tests PRIVATE PILLAR_COMMAND="$<TARGET_FILE:pillar>")
target_link_libraries(lunar_command_tests PRIVATE nlohmann_json::nlohmann_json GTest::gtest_main)
add_dependencies(lunar_command_tests pillar)
gtest_discover_tests(lunar_command_tests DISCOVERY_TIMEOUT 60)
