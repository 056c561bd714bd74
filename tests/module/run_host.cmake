# Runs lvphost once and checks its exit status and output.
# Run as: cmake "-DCOMMAND=emulator@@lvphost@@args" -DSTATUS=n [-DOUT=regex] [-DERR=regex]
#               [-DOUT_TEXT_ID=id -DSTRINGS=strings.txt] -P run_host.cmake
# OUT_TEXT_ID: the standard output must contain that text of the string table, byte for byte.
string(REPLACE "@@" ";" COMMAND "${COMMAND}")
execute_process(COMMAND ${COMMAND} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(report "command: ${COMMAND}\nexit status: ${rc}\nstdout:\n${out}\nstderr:\n${err}")
if(NOT rc STREQUAL STATUS)
    message(FATAL_ERROR "exit status ${rc}, wanted ${STATUS}\n${report}")
endif()
if(DEFINED OUT AND NOT out MATCHES "${OUT}")
    message(FATAL_ERROR "standard output does not match '${OUT}'\n${report}")
endif()
if(DEFINED ERR AND NOT err MATCHES "${ERR}")
    message(FATAL_ERROR "standard error does not match '${ERR}'\n${report}")
endif()
if(DEFINED OUT_TEXT_ID)
    file(STRINGS "${STRINGS}" lines ENCODING UTF-8 REGEX "^${OUT_TEXT_ID}\t")
    string(REGEX REPLACE "^${OUT_TEXT_ID}\t" "" text "${lines}")
    string(FIND "${out}" "${text}" at)
    if(at EQUAL -1 OR text STREQUAL "")
        message(FATAL_ERROR "standard output lacks text ${OUT_TEXT_ID} '${text}'\n${report}")
    endif()
endif()
