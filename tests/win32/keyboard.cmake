# The program's own keys (Esc, Tab) on a real window, under Wine.
if(TARGET win32_tests)
  add_test(NAME win32_keyboard COMMAND win32_tests --gtest_filter=KeyboardRules*)
endif()
