# The hardening Debian's build flags give, on every Linux build of ours but the sanitizer one:
# fortified libc calls, stack protector, full RELRO with immediate binding, position-independent
# executables.
if(WIN32 OR QUARN_SANITIZE)
  return()
endif()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
target_compile_options(quarn_options INTERFACE
  $<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2>
  -fstack-protector-strong -fstack-clash-protection)
target_link_options(quarn_options INTERFACE -Wl,-z,relro -Wl,-z,now)
