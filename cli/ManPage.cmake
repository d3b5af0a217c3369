# Writes the manual page of tarvelo-cli, which the program makes from its own commands and
# help texts, whole or not at all:
#   cmake -DCLI=path/to/tarvelo-cli -DOUT=tarvelo-cli.1 -P ManPage.cmake
execute_process(COMMAND ${CLI} --manual-page OUTPUT_FILE "${OUT}.tmp" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE "${OUT}.tmp")
  message(FATAL_ERROR "${CLI} --manual-page failed (${status})")
endif()
file(RENAME "${OUT}.tmp" "${OUT}")
