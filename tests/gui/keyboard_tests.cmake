# The keyboard's GUI suites (key map, Keyboard Helper and picture windows, SDL joystick,
# typing through the main window): a program of their own on the same harness as
# noltace_gui_tests, one CTest test per suite. Included by tests/gui/CMakeLists.txt,
# which provides GUI_ENV.
file(GLOB KEYBOARD_GUI_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/keyboard_*.cpp)
add_executable(noltace_keyboard_gui_tests ${KEYBOARD_GUI_SOURCES} ${CMAKE_CURRENT_SOURCE_DIR}/gui_support.cpp
                                          ${CMAKE_CURRENT_SOURCE_DIR}/gui_test_main.cpp)
target_link_libraries(noltace_keyboard_gui_tests PRIVATE noltace_app Qt6::Test)
target_include_directories(noltace_keyboard_gui_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

foreach(source ${KEYBOARD_GUI_SOURCES})
  file(STRINGS ${source} lines REGEX "^REGISTER_GUI_SUITE(_WITH_ENV)?\\(")
  foreach(line ${lines})
    string(REGEX REPLACE "^REGISTER_GUI_SUITE(_WITH_ENV)?\\(([A-Za-z0-9_]+).*" "\\2" suite "${line}")
    add_test(NAME gui.${suite} COMMAND noltace_keyboard_gui_tests ${suite})
    set_tests_properties(gui.${suite} PROPERTIES ENVIRONMENT "${GUI_ENV}" SKIP_RETURN_CODE 77
                         TIMEOUT 120 RUN_SERIAL TRUE LABELS gui)
  endforeach()
endforeach()
