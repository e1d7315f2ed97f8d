# One place for the warning list, the -Werror switch and the sanitizers;
# every target of the project links tobirex_options. The flags are chosen per
# compiler, so another toolchain needs a branch here, not edits elsewhere.
add_library(tobirex_options INTERFACE)
if(MSVC)
  target_compile_options(tobirex_options INTERFACE /W4 /utf-8)
  if(TOBIREX_WERROR)
    target_compile_options(tobirex_options INTERFACE /WX)
  endif()
else()
  target_compile_options(tobirex_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 warns of overlapping copies inside std::string that cannot happen (its bug 105651).
    target_compile_options(tobirex_options INTERFACE -Wno-restrict)
  endif()
  if(TOBIREX_WERROR)
    target_compile_options(tobirex_options INTERFACE -Werror)
  endif()
  if(TOBIREX_SANITIZE)
    target_compile_options(tobirex_options INTERFACE
      -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(tobirex_options INTERFACE -fsanitize=address,undefined)
  endif()
endif()
