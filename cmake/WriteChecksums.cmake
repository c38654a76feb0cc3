# Run by CPack after it packed: SHA256SUMS beside the packages, one line per package as
# sha256sum writes it, so that `sha256sum -c SHA256SUMS` checks them. The packages CPack made
# are still in its staging folder (CPACK_PACKAGE_FILES); the Windows installer is already beside.
set(packages ${CPACK_PACKAGE_FILES})
if(EXISTS "${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}-setup.exe")
  list(APPEND packages "${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}-setup.exe")
endif()
set(named "")
foreach(package ${packages})
  get_filename_component(name ${package} NAME)
  list(APPEND named "${name}|${package}")
endforeach()
list(SORT named)  # by name
set(sums "")
foreach(entry ${named})
  string(REGEX REPLACE "^([^|]*)\\|(.*)$" "\\1" name "${entry}")
  string(REGEX REPLACE "^([^|]*)\\|(.*)$" "\\2" package "${entry}")
  file(SHA256 ${package} hash)
  string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS" "${sums}")
message(STATUS "CPack: - checksums: ${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS generated.")
