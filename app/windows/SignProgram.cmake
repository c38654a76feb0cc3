# Run by CPack before it packs, where the release step gives a code-signing key: signs the staged
# program, which the zip and the installer then both take.
if(NOT DEFINED ENV{QUARN_SIGN_PKCS12} AND NOT DEFINED ENV{QUARN_SIGNATURES_FROM})
  return()
endif()
execute_process(COMMAND ${CPACK_QUARN_SOURCE}/scripts/sign-windows.sh ${CPACK_QUARN_ARCH} program
                        ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/quarn-ev.exe COMMAND_ERROR_IS_FATAL ANY)
