# Boost.Regex is used header-only. The cross build must see the boost headers
# and nothing else of /usr/include, so it gets a folder that holds just a link
# named "boost".
add_library(proxy_boost_regex INTERFACE)
target_compile_definitions(proxy_boost_regex INTERFACE BOOST_REGEX_STANDALONE BOOST_REGEX_NO_LIB)
if(CMAKE_CROSSCOMPILING)
  set(PROXYSWITCHER_BOOST_ROOT "/usr/include" CACHE PATH "Folder that holds the boost headers")
  set(boost_link_dir ${CMAKE_BINARY_DIR}/boost-only)
  file(MAKE_DIRECTORY ${boost_link_dir})
  file(CREATE_LINK ${PROXYSWITCHER_BOOST_ROOT}/boost ${boost_link_dir}/boost SYMBOLIC)
  target_include_directories(proxy_boost_regex SYSTEM INTERFACE ${boost_link_dir})
endif()
