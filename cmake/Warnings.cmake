# Options every target of ours links PRIVATE: warnings, optional -Werror, sanitizers, static
# runtimes on Windows.
add_library(quarn_options INTERFACE)
target_compile_options(quarn_options INTERFACE -Wall -Wextra -Wpedantic
                       $<$<BOOL:${QUARN_WERROR}>:-Werror>)
if(QUARN_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(quarn_options INTERFACE ${_san})
  target_link_options(quarn_options INTERFACE ${_san})
endif()
if(WIN32)
  # One executable with nothing beside it: the C and C++ runtimes linked in.
  target_link_options(quarn_options INTERFACE -static $<$<NOT:$<CONFIG:Debug>>:-s>)
endif()
