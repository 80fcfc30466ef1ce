# End-to-end: loading every source against the local internet. Runs only in a
# build whose site hosts point at the local internet (127.0.0.x:port); the
# port comes from those hosts. Deferred to the end of the folder because it
# reuses what window.cmake sets up (uiprobe and the test environment).
set(PROXYSWITCHER_SOURCES_E2E_DIR ${CMAKE_CURRENT_LIST_DIR})
function(proxyswitcher_add_sources_e2e)
  if(NOT (WIN32 AND TARGET uiprobe AND PROXYSWITCHER_E2E_ENV))
    return()
  endif()
  string(REGEX MATCH "^127\\.0\\.0\\.11:([0-9]+)$" local_5u "${PROXYSWITCHER_HOST_5U}")
  if(NOT local_5u)
    return()
  endif()
  add_test(NAME e2e_sources COMMAND ${Python3_EXECUTABLE} ${PROXYSWITCHER_SOURCES_E2E_DIR}/test_sources.py)
  set_tests_properties(e2e_sources PROPERTIES
                       ENVIRONMENT "${PROXYSWITCHER_E2E_ENV};PROXYSWITCHER_LOCALNET_PORT=${CMAKE_MATCH_1}"
                       RESOURCE_LOCK proxyswitcher_desktop TIMEOUT 600)
endfunction()
cmake_language(DEFER CALL proxyswitcher_add_sources_e2e)
