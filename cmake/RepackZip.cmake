# Run by CPack after it made a zip: packs it again with its entries in name order, each with the
# time SOURCE_DATE_EPOCH, permissions that do not depend on the umask and no owner. CPack adds the
# files in the order the file system lists them, and records their owner and access time.
find_program(PYTHON3 NAMES python3 HINTS /usr/bin REQUIRED)  # the system's zlib, as Debian builds it
foreach(package ${CPACK_PACKAGE_FILES})
  if(package MATCHES "\\.zip$")
    execute_process(COMMAND ${PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/repack_zip.py ${package}
                            $ENV{SOURCE_DATE_EPOCH} COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
