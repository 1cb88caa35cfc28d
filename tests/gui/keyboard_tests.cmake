# The keyboard's Qt tests (the key map, the Keyboard Helper and the keyboard picture)
# and the SDL joystick's test. Included from tests/gui/CMakeLists.txt (needs
# noltace_core, noltace_sdl (src/app/sdl), Qt6 Widgets and Test, GoogleTest). The widget tests run on Qt's "offscreen" platform unless DISPLAY
# names an X server.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
find_package(GTest REQUIRED)
include(GoogleTest)

set(KEYBOARD_QT_SOURCES
    ${CMAKE_SOURCE_DIR}/src/app/qt/qt_key_map.cpp
    ${CMAKE_SOURCE_DIR}/src/app/qt/keyboard_helper_window.cpp
    ${CMAKE_SOURCE_DIR}/src/app/qt/keyboard_picture_window.cpp)

add_executable(noltace_keyboard_gui_tests
    ${CMAKE_CURRENT_LIST_DIR}/keyboard_key_map_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/keyboard_windows_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/keyboard_gui_main.cpp
    ${KEYBOARD_QT_SOURCES})
set_target_properties(noltace_keyboard_gui_tests PROPERTIES AUTOMOC ON)
target_include_directories(noltace_keyboard_gui_tests PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(noltace_keyboard_gui_tests PRIVATE noltace_core Qt6::Widgets Qt6::Test GTest::gtest)
add_executable(noltace_joystick_sdl_tests
    ${CMAKE_CURRENT_LIST_DIR}/keyboard_sdl_joystick_test.cpp)
target_include_directories(noltace_joystick_sdl_tests PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(noltace_joystick_sdl_tests PRIVATE noltace_sdl GTest::gtest GTest::gtest_main)
gtest_discover_tests(noltace_joystick_sdl_tests DISCOVERY_TIMEOUT 60)

gtest_discover_tests(noltace_keyboard_gui_tests
    PROPERTIES ENVIRONMENT "NOLTACE_TEST_ROM=${NOLTACE_TEST_ROM};NOLTACE_TESTDATA=${NOLTACE_TESTDATA}"
    DISCOVERY_TIMEOUT 60)
