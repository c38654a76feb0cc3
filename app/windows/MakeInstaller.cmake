# Run by CPack after it made the portable zip: builds the NSIS installer beside it.
find_program(MAKENSIS makensis)
if(NOT MAKENSIS)
  message(WARNING "makensis not found (Debian package nsis): no installer made")
  return()
endif()
set(installer "${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}-setup.exe")
execute_process(
  COMMAND ${MAKENSIS} -V2 -DVERSION=${CPACK_PACKAGE_VERSION} -DEXE=${CPACK_QUARN_EXE}
          -DLICENSE=${CPACK_QUARN_LICENSE} -DREADME=${CPACK_QUARN_README} -DOUTFILE=${installer}
          ${CPACK_QUARN_NSI}
  COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "CPack: - installer: ${installer} generated.")
