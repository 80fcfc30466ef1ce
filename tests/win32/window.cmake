# The control wrappers and the GBK conversion on real windows, under Wine.
if(TARGET win32_tests)
  add_test(NAME win32_controls COMMAND win32_tests --gtest_filter=Controls*:Gbk*)
endif()
