# ip.txt on real files under Wine.
if(TARGET win32_tests)
  add_test(NAME win32_listfile COMMAND win32_tests --gtest_filter=ListFile*)
endif()
