# End-to-end: closing the main window while a handler waits for the network,
# and a whole run's trace in the registry. Only in a build whose IP-echo host
# points at the local internet; deferred to the end of the folder because it
# reuses what window.cmake sets up.
set(PROXYSWITCHER_CLOSING_E2E_DIR ${CMAKE_CURRENT_LIST_DIR})
function(proxyswitcher_add_closing_e2e)
  if(NOT (WIN32 AND TARGET uiprobe AND PROXYSWITCHER_E2E_ENV))
    return()
  endif()
  string(REGEX MATCH "^127\\.0\\.0\\.17:([0-9]+)$" local_echo "${PROXYSWITCHER_HOST_IPECHO}")
  if(NOT local_echo)
    return()
  endif()
  add_test(NAME e2e_closing COMMAND ${Python3_EXECUTABLE} ${PROXYSWITCHER_CLOSING_E2E_DIR}/test_closing.py)
  add_test(NAME e2e_registry COMMAND ${Python3_EXECUTABLE} ${PROXYSWITCHER_CLOSING_E2E_DIR}/test_registry.py)
  set_tests_properties(e2e_closing e2e_registry PROPERTIES
                       ENVIRONMENT "${PROXYSWITCHER_E2E_ENV};PROXYSWITCHER_LOCALNET_PORT=${CMAKE_MATCH_1}"
                       RESOURCE_LOCK proxyswitcher_desktop)
  set_tests_properties(e2e_closing PROPERTIES TIMEOUT 600)
  set_tests_properties(e2e_registry PROPERTIES TIMEOUT 300)
endfunction()
cmake_language(DEFER CALL proxyswitcher_add_closing_e2e)
