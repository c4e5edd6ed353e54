# The same bytes from the same source: what ships takes its time from the commit it is
# built from, never from the clock, and names no folder of the machine that built it.
#
# VORNATIC_SOURCE_DATE_EPOCH is SOURCE_DATE_EPOCH when the environment gives one, else the
# time of the commit checked out. It stamps the PE headers (vornatic_reproducible_link),
# the files in the zips and the installers (packaging/), and is written to
# generated/source-date-epoch.txt, which changes only when the time does.

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(VORNATIC_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE VORNATIC_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE git_failed ERROR_QUIET)
  if(git_failed)
    # A tree without its history: the oldest time a zip entry can carry, the same for all.
    message(WARNING "No git history and no SOURCE_DATE_EPOCH: files are dated 1980-01-01")
    set(VORNATIC_SOURCE_DATE_EPOCH 315532800)
  endif()
  # A new commit is a new time: configure again when HEAD moves.
  execute_process(COMMAND git rev-parse --path-format=absolute --git-path logs/HEAD
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE head_log
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(head_log AND EXISTS "${head_log}")
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${head_log}")
  endif()
endif()
if(NOT VORNATIC_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be seconds since 1970, not '${VORNATIC_SOURCE_DATE_EPOCH}'")
endif()
set(VORNATIC_SOURCE_DATE_EPOCH_FILE ${CMAKE_BINARY_DIR}/generated/source-date-epoch.txt)
file(CONFIGURE OUTPUT ${VORNATIC_SOURCE_DATE_EPOCH_FILE} CONTENT "${VORNATIC_SOURCE_DATE_EPOCH}\n")

# __FILE__ and the like name the source as the tree names it, not where it was checked out.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                    -ffile-prefix-map=${CMAKE_BINARY_DIR}/=build/)

# The linker stamps the PE header with SOURCE_DATE_EPOCH when it is set, else with the
# clock; and links again when the time changes, even when no object did.
function(vornatic_reproducible_link target)
  set_target_properties(${target} PROPERTIES
    CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;SOURCE_DATE_EPOCH=${VORNATIC_SOURCE_DATE_EPOCH}"
    LINK_DEPENDS ${VORNATIC_SOURCE_DATE_EPOCH_FILE})
endfunction()
