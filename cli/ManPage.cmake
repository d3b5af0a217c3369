# Makes the manual page of tarvelo-cli from its help pages, so the two never disagree:
#   cmake -DCLI=path/to/tarvelo-cli -DOUT=tarvelo-cli.1 -DVERSION=1.0 -DCOMMANDS=info,convert,... -P ManPage.cmake
# Each help page goes into the page as preformatted text, escaped for roff.

function(help_page out_var)
  execute_process(COMMAND ${CLI} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CLI} ${ARGN} --help failed (${status})")
  endif()
  # Backslashes and hyphens are roff's; a line that starts with "." or "'" would be a request.
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

help_page(main_help)
set(page ".TH TARVELO\\-CLI 1 \"\" \"tarvelo\\-cli ${VERSION}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\ntarvelo\\-cli \\- convert CIS roll scans into MIDI files, report on scans, keep settings\n")
string(APPEND page ".SH SYNOPSIS\n.B tarvelo\\-cli\n\\fICOMMAND\\fR [\\fIOPTIONS\\fR] [\\fIFILES\\fR]\n")
string(APPEND page ".SH DESCRIPTION\n.nf\n${main_help}.fi\n.SH COMMANDS\n")
string(REPLACE "," ";" commands "${COMMANDS}")
foreach(command IN LISTS commands)
  help_page(command_help ${command})
  string(REPLACE "-" "\\-" command_name "${command}")
  string(APPEND page ".SS \"tarvelo\\-cli ${command_name}\"\n.nf\n${command_help}.fi\n")
endforeach()
string(APPEND page ".SH SEE ALSO\nThe README of the Tarvelo sources.\n")
file(WRITE "${OUT}.tmp" "${page}")
file(RENAME "${OUT}.tmp" "${OUT}")
