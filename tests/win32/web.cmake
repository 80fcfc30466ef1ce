# The timed request and the plain download against loopback servers under
# Wine: the wrapper starts the recording test server and a tinyproxy and hands
# their ports to the tests in the environment.
if(TARGET win32_tests)
  target_link_libraries(win32_tests PRIVATE ws2_32)
  set(web_wrapper ${CMAKE_CURRENT_LIST_DIR}/../servers/run-with-servers.sh)
  add_test(NAME win32_web
           COMMAND bash ${web_wrapper} ${PROXYSWITCHER_SCRIPTS_DIR}/wine-run.sh $<TARGET_FILE:win32_tests>
                   --gtest_filter=Web*:-WebEnding*)
  # Once the program is ending it stays so: its own process.
  add_test(NAME win32_web_ending
           COMMAND bash ${web_wrapper} ${PROXYSWITCHER_SCRIPTS_DIR}/wine-run.sh $<TARGET_FILE:win32_tests>
                   --gtest_filter=WebEnding*)
  # The download test switches the prefix's system proxy for a moment.
  set_tests_properties(win32_web win32_web_ending PROPERTIES TIMEOUT 300
                       RESOURCE_LOCK wine_internet_settings)
endif()
