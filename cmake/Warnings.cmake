# Warnings high and treated as errors on both compilers; sanitizers on request.
add_library(proxy_warnings INTERFACE)
if(MSVC)
  target_compile_options(proxy_warnings INTERFACE /W4 /WX /utf-8 /permissive-)
else()
  target_compile_options(proxy_warnings INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
  # The fuzz build uses clang, whose warnings differ; the strict builds are gcc's.
  if(NOT PROXYSWITCHER_FUZZ)
    target_compile_options(proxy_warnings INTERFACE -Werror)
  endif()
endif()
if(PROXYSWITCHER_FUZZ)
  target_compile_options(proxy_warnings INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                  -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  target_link_options(proxy_warnings INTERFACE -fsanitize=address,undefined)
elseif(PROXYSWITCHER_SANITIZE AND NOT WIN32)
  target_compile_options(proxy_warnings INTERFACE -fsanitize=address,undefined
                                                  -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(proxy_warnings INTERFACE -fsanitize=address,undefined)
endif()
