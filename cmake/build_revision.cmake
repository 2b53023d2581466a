# Writes the git revision the programs are built from into a source file, rewriting it only when
# the revision changes (so nothing relinks for nothing). Run at every build:
#   cmake -DSOURCE_DIR=... -DOUTPUT=... -P build_revision.cmake
set(REVISION "unknown")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --short=12 HEAD WORKING_DIRECTORY ${SOURCE_DIR}
                  OUTPUT_VARIABLE HEAD_REVISION OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE HEAD_STATUS
                  ERROR_QUIET)
  if(HEAD_STATUS EQUAL 0 AND HEAD_REVISION)
    set(REVISION ${HEAD_REVISION})
    # Changes not yet committed make the build differ from the revision: say so.
    execute_process(COMMAND ${GIT_EXECUTABLE} diff --quiet HEAD -- WORKING_DIRECTORY ${SOURCE_DIR}
                    RESULT_VARIABLE DIRTY_STATUS ERROR_QUIET)
    if(NOT DIRTY_STATUS EQUAL 0)
      set(REVISION "${REVISION}-modified")
    endif()
  endif()
endif()
set(CONTENT "// Made by the build: the git revision of the sources.\n#include \"common/build_info.h\"\n\nconst char* const vm::BuildRevision = \"${REVISION}\";\n")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} OLD)
endif()
if(NOT OLD STREQUAL CONTENT)
  file(WRITE ${OUTPUT} "${CONTENT}")
endif()
