# Warnings high and treated as errors on both compilers; sanitizers on request.
add_library(proxy_warnings INTERFACE)
if(MSVC)
  target_compile_options(proxy_warnings INTERFACE /W4 /WX /utf-8 /permissive-)
else()
  target_compile_options(proxy_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror
                                                  -Wno-missing-field-initializers)
endif()
if(PROXYSWITCHER_SANITIZE AND NOT WIN32)
  target_compile_options(proxy_warnings INTERFACE -fsanitize=address,undefined
                                                  -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(proxy_warnings INTERFACE -fsanitize=address,undefined)
endif()
