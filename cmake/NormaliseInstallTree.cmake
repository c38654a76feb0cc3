# Run by CPack before it packs: every file and folder of the staged install gets the time
# SOURCE_DATE_EPOCH and permissions that do not depend on the umask (rw-r--r--, executables
# and folders rwxr-xr-x), so that the package's bytes do not either.
file(GLOB_RECURSE entries LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
if(entries)
  execute_process(COMMAND chmod -R u=rwX,go=rX ${CPACK_TEMPORARY_INSTALL_DIRECTORY}
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND touch -h -d @$ENV{SOURCE_DATE_EPOCH} ${entries}
                  ${CPACK_TEMPORARY_INSTALL_DIRECTORY} COMMAND_ERROR_IS_FATAL ANY)
endif()
