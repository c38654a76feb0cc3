# Run by CPack before it packs: drops the compilers' version notes (.comment) from the program,
# as Debian's own packaging does.
file(GLOB_RECURSE programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/quarn-ev")
foreach(program ${programs})
  execute_process(COMMAND ${CPACK_QUARN_OBJCOPY} --remove-section=.comment "${program}"
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
