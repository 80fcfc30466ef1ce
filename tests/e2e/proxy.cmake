# End-to-end: the probe, the proxy buttons, batch verification and ip.txt,
# against the local internet. Only in a build whose IP-echo host points at it;
# deferred to the end of the folder because it reuses what window.cmake sets up.
set(PROXYSWITCHER_PROXY_E2E_DIR ${CMAKE_CURRENT_LIST_DIR})
function(proxyswitcher_add_proxy_e2e)
  if(NOT (WIN32 AND TARGET uiprobe AND PROXYSWITCHER_E2E_ENV))
    return()
  endif()
  string(REGEX MATCH "^127\\.0\\.0\\.17:([0-9]+)$" local_echo "${PROXYSWITCHER_HOST_IPECHO}")
  if(NOT local_echo)
    return()
  endif()
  add_test(NAME e2e_proxy COMMAND ${Python3_EXECUTABLE} ${PROXYSWITCHER_PROXY_E2E_DIR}/test_proxy.py)
  set_tests_properties(e2e_proxy PROPERTIES
                       ENVIRONMENT "${PROXYSWITCHER_E2E_ENV};PROXYSWITCHER_LOCALNET_PORT=${CMAKE_MATCH_1}"
                       RESOURCE_LOCK proxyswitcher_desktop TIMEOUT 600)
endfunction()
cmake_language(DEFER CALL proxyswitcher_add_proxy_e2e)
