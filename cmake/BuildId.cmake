# Writes the build's identity (the source's git commit, "-modified" when the working tree
# differs from it; empty outside a git checkout) into a small header, replacing it only when
# it changes, so that a build of the same sources keeps its objects:
#   cmake -DSOURCE_DIR=... -DOUT=.../BuildId.h -P BuildId.cmake
set(build_id "")
find_program(GIT_PROGRAM git)
if(GIT_PROGRAM AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND ${GIT_PROGRAM} -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
                  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status ERROR_QUIET)
  if(status EQUAL 0 AND commit)
    set(build_id "${commit}")
    execute_process(COMMAND ${GIT_PROGRAM} -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
                    OUTPUT_VARIABLE changes RESULT_VARIABLE status ERROR_QUIET)
    if(status EQUAL 0 AND changes)
      string(APPEND build_id "-modified")
    endif()
  endif()
endif()
set(text "// Made by cmake/BuildId.cmake at build time.\n#define TARVELO_BUILD_ID \"${build_id}\"\n")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
else()
  set(old "")
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUT}" "${text}")
endif()
