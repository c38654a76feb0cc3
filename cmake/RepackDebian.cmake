# Run by CPack after it made the Debian packages: packs each again with dpkg-deb, which gives
# every entry of the archive SOURCE_DATE_EPOCH as its time, root as owner and a fixed order, so
# that the bytes depend neither on the umask nor on when the package was made. The files'
# permissions are made the same first (rw-r--r--, executables and folders rwxr-xr-x), and the
# md5sums written again: CPack lists the debug-symbol package's file by its staging path.
find_program(DPKG_DEB dpkg-deb REQUIRED)
foreach(package ${CPACK_PACKAGE_FILES})
  if(NOT package MATCHES "\\.d?deb$")
    continue()
  endif()
  set(tree "${CPACK_TOPLEVEL_DIRECTORY}/repack")
  file(REMOVE_RECURSE "${tree}")
  file(MAKE_DIRECTORY "${tree}")
  execute_process(COMMAND ${DPKG_DEB} --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND chmod -R u=rwX,go=rX ${tree} COMMAND_ERROR_IS_FATAL ANY)
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${tree}" "${tree}/*")
  list(FILTER files EXCLUDE REGEX "^DEBIAN/")
  list(SORT files)
  set(sums "")
  foreach(file ${files})
    file(MD5 "${tree}/${file}" hash)
    string(APPEND sums "${hash}  ${file}\n")
  endforeach()
  file(WRITE "${tree}/DEBIAN/md5sums" "${sums}")
  execute_process(COMMAND ${DPKG_DEB} --root-owner-group -Zxz --build ${tree} ${package}
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
endforeach()
