# Writes the desktop entry (or the program's own list, app/desktop/) from its
# template, with the MimeType list that the build's own classification accepts
# (glaze_accepted_mime_types), so that the entry and the program never disagree.
#   cmake -DTOOL=... -DTEMPLATE=... -DOUTPUT=... -DGLAZE_APP_ID=... -P DesktopEntry.cmake
# Only the system's types count: a type someone registered in their own home
# must not end up in a package built there.
set(ENV{XDG_DATA_HOME} "${OUTPUT}.no-user-data")
execute_process(COMMAND "${TOOL}" OUTPUT_VARIABLE types COMMAND_ERROR_IS_FATAL ANY)
string(STRIP "${types}" types)
if(types STREQUAL "")
    message(FATAL_ERROR "${TOOL} found no accepted MIME type")
endif()
string(REPLACE "\n" ";" types "${types}")
set(GLAZE_MIME_TYPES "${types};")
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
