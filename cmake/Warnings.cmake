# One place for the warning list, the -Werror switch and the sanitizers;
# every target of the project links tobirex_options.
add_library(tobirex_options INTERFACE)
target_compile_options(tobirex_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast)
if(TOBIREX_WERROR)
  target_compile_options(tobirex_options INTERFACE -Werror)
endif()
if(TOBIREX_SANITIZE)
  target_compile_options(tobirex_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(tobirex_options INTERFACE -fsanitize=address,undefined)
endif()
