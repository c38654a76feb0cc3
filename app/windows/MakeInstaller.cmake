# Run by CPack after it made the portable zip: builds the NSIS installer beside it.
find_program(MAKENSIS makensis)
if(NOT MAKENSIS)
  message(WARNING "makensis not found (Debian package nsis): no installer made")
  return()
endif()
set(installer "${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}-setup.exe")
# The picture beside the welcome and finish pages, drawn from the program's icon.
set(wizard "${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/installer-wizard.bmp")
execute_process(
  COMMAND python3 ${CPACK_QUARN_SOURCE}/app/windows/wizard_bitmap.py
          ${CPACK_QUARN_SOURCE}/app/icons/quarn-ev-64.rgba ${wizard}
  COMMAND_ERROR_IS_FATAL ANY)
# Where the release step gives a code-signing key, the installer takes the signed program, and
# signs the uninstaller it carries and itself as they are made.
set(exe ${CPACK_QUARN_EXE})
set(sign "")
if(DEFINED ENV{QUARN_SIGN_PKCS12} OR DEFINED ENV{QUARN_SIGNATURES_FROM})
  set(sign -DSIGN=${CPACK_QUARN_SOURCE}/scripts/sign-windows.sh)
  set(exe ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/quarn-ev.exe)
  if(DEFINED ENV{QUARN_SIGNATURES_FROM})  # a rebuild: the program with the installer's signature
    set(exe ${CPACK_TOPLEVEL_DIRECTORY}/installer-program/quarn-ev.exe)
    file(COPY ${CPACK_QUARN_EXE} DESTINATION ${CPACK_TOPLEVEL_DIRECTORY}/installer-program)
    execute_process(COMMAND ${CPACK_QUARN_SOURCE}/scripts/sign-windows.sh ${CPACK_QUARN_ARCH}
                            installer-program ${exe} COMMAND_ERROR_IS_FATAL ANY)
  endif()
endif()
execute_process(
  COMMAND ${MAKENSIS} -V2 -DVERSION=${CPACK_PACKAGE_VERSION} -DARCH=${CPACK_QUARN_ARCH} ${sign}
          -DEXE=${exe} -DLICENSE=${CPACK_QUARN_LICENSE} -DREADME=${CPACK_QUARN_README}
          -DICON=${CPACK_QUARN_SOURCE}/app/quarn-ev.ico -DWIZARD=${wizard} -DOUTFILE=${installer}
          ${CPACK_QUARN_NSI}
  COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "CPack: - installer: ${installer} generated.")
