# The end-to-end tests of the main window and start-up, and uiprobe, the small
# console program through which the harness reads the program's windows.
if(WIN32)
  add_executable(uiprobe ${CMAKE_CURRENT_LIST_DIR}/uiprobe/uiprobe.cpp)
  target_compile_definitions(uiprobe PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  target_link_libraries(uiprobe PRIVATE proxy_warnings comctl32 user32)
  if(MINGW)
    target_link_options(uiprobe PRIVATE -static)
  endif()

  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_FOUND)
    # Everything an end-to-end test needs to find the program and the probe.
    set(PROXYSWITCHER_E2E_ENV
        PROXYSWITCHER_BUILD_DIR=${CMAKE_BINARY_DIR}
        PROXYSWITCHER_EXE=$<TARGET_FILE:proxyswitcher>
        PROXYSWITCHER_UIPROBE=$<TARGET_FILE:uiprobe>
        PROXYSWITCHER_SCRIPTS_DIR=${PROXYSWITCHER_SCRIPTS_DIR}
        PYTHONPATH=${CMAKE_CURRENT_LIST_DIR}
        PYTHONDONTWRITEBYTECODE=1)
    add_test(NAME e2e_window COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/test_window.py)
    # One program on the shared display and prefix at a time: clicks and keys
    # go to whatever window is under the pointer.
    set_tests_properties(e2e_window PROPERTIES ENVIRONMENT "${PROXYSWITCHER_E2E_ENV}"
                         RESOURCE_LOCK proxyswitcher_desktop TIMEOUT 300)
  endif()
endif()
