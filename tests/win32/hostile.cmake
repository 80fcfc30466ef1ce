# Misbehaving loopback servers against the timed request, the plain download
# and the handlers that use them. Two of the download cases wait out the
# download's silence limit, so this runs apart from the other web tests.
if(TARGET win32_tests)
  add_test(NAME win32_web_hostile
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/../servers/run-with-servers.sh
                   ${PROXYSWITCHER_SCRIPTS_DIR}/wine-run.sh $<TARGET_FILE:win32_tests> --gtest_filter=*Hostile*)
  # The download cases switch the prefix's system proxy off for a moment.
  set_tests_properties(win32_web_hostile PROPERTIES TIMEOUT 400 RESOURCE_LOCK wine_internet_settings)
endif()
