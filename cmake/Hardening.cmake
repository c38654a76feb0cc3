# The hardening Debian's build flags give, on every build of ours but the sanitizer one: fortified
# C library calls and the stack protector everywhere; on Linux also stack-clash protection,
# control-flow enforcement on x86 and branch protection on arm64, full RELRO with immediate
# binding and position-independent executables; on Windows address-space layout randomisation
# with a relocation table, DEP, and on x86_64 high-entropy ASLR.
if(QUARN_SANITIZE)
  return()
endif()
target_compile_options(quarn_options INTERFACE
  $<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2> -fstack-protector-strong)

if(WIN32)
  # The protector's runtime (libssp) is linked in with everything else (-static), so that the
  # program still needs no DLL beside it.
  target_link_options(quarn_options INTERFACE -fstack-protector-strong
                      -Wl,--dynamicbase -Wl,--nxcompat)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    # Exceptions unwind with DWARF tables; nothing registers a structured exception handler, and
    # the image says so (IMAGE_DLLCHARACTERISTICS_NO_SEH).
    target_link_options(quarn_options INTERFACE -Wl,--no-seh)
  else()
    # 64-bit images are large-address aware by default; high-entropy ASLR is asked for.
    target_link_options(quarn_options INTERFACE -Wl,--high-entropy-va)
  endif()
  return()
endif()

set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
target_compile_options(quarn_options INTERFACE -fstack-clash-protection)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|amd64|i.86")
  target_compile_options(quarn_options INTERFACE -fcf-protection)  # control-flow enforcement
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "aarch64|arm64")
  # Return addresses signed (PAC) and indirect branches landing only on marked places (BTI).
  target_compile_options(quarn_options INTERFACE -mbranch-protection=standard)
endif()
target_link_options(quarn_options INTERFACE -Wl,-z,relro -Wl,-z,now)
