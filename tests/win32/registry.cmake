# The system proxy switch against the registry of the build's Wine prefix.
if(TARGET win32_tests)
  add_test(NAME win32_registry COMMAND win32_tests --gtest_filter=Registry*:*/Registry*)
endif()
