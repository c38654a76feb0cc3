# The same sources give the same bytes, wherever and whenever they are built: times come from
# SOURCE_DATE_EPOCH (by default the last commit's time), the build's paths are mapped out of
# what the compiler writes, and the Windows linker writes no time stamp.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(QUARN_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE QUARN_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET RESULTS_VARIABLE git_result)
  if(NOT git_result EQUAL 0 OR NOT QUARN_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    # Not a git checkout (a source archive, say): the top-level list file's time.
    file(TIMESTAMP ${PROJECT_SOURCE_DIR}/CMakeLists.txt QUARN_SOURCE_DATE_EPOCH "%s" UTC)
  endif()
endif()
message(STATUS "SOURCE_DATE_EPOCH: ${QUARN_SOURCE_DATE_EPOCH}")

# Paths in debug information, assertions and __FILE__, relative to the source or build tree (the
# latter named last: where both match, the compiler takes the last).
target_compile_options(quarn_options INTERFACE
  -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
  -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)

# Tools run by the build (the resource compiler of the toolkit stamps files with a time) see
# the same SOURCE_DATE_EPOCH.
set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM
             "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${QUARN_SOURCE_DATE_EPOCH}")

if(WIN32)
  target_link_options(quarn_options INTERFACE -Wl,--no-insert-timestamp)
endif()

# CPack: the packages' times from SOURCE_DATE_EPOCH, the files' times and permissions fixed
# before packing, and SHA256SUMS written beside the packages.
configure_file(${CMAKE_CURRENT_LIST_DIR}/CPackProject.cmake.in
               ${PROJECT_BINARY_DIR}/CPackProject.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProject.cmake)
