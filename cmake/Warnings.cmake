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
if(WIN32 AND CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  # Doubles are computed and rounded as doubles (SSE2), not in the x87's extended registers.
  target_compile_options(quarn_options INTERFACE -msse2 -mfpmath=sse)
endif()
if(WIN32)
  # One executable with nothing beside it: the C and C++ runtimes linked in.
  target_link_options(quarn_options INTERFACE -static $<$<NOT:$<CONFIG:Debug>>:-s>)
  # Windows Vista (6.0) and later: the imports need it (GetTickCount64), and the headers say so.
  target_link_options(quarn_options INTERFACE
    -Wl,--major-subsystem-version,6 -Wl,--minor-subsystem-version,0
    -Wl,--major-os-version,6 -Wl,--minor-os-version,0)
  # Sections page-aligned in the file, so that the loader maps the image instead of reading it
  # all in: only the pages used become resident. Unused functions are left out.
  target_compile_options(quarn_options INTERFACE -ffunction-sections -fdata-sections)
  target_link_options(quarn_options INTERFACE -Wl,--file-alignment,4096 -Wl,--gc-sections)
endif()
