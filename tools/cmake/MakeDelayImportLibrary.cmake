# cmake -DNM=... -DDLLTOOL=... -DIMPORT_LIBRARY=libX.a -DDLL=X.dll -DOUTPUT=.../libX.a -P this
# A delay-import library for DLL with every function the ordinary import library
# names (its __imp_ symbols), made by dlltool from a .def file written here.

execute_process(COMMAND ${NM} --defined-only ${IMPORT_LIBRARY} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${NM} could not read ${IMPORT_LIBRARY}")
endif()
string(REGEX MATCHALL " I __imp_[^\r\n]+" imports "${symbols}")
if(NOT imports)
    message(FATAL_ERROR "no imports in ${IMPORT_LIBRARY}")
endif()
set(definitions "LIBRARY ${DLL}\nEXPORTS\n")
foreach(import IN LISTS imports)
    string(REPLACE " I __imp_" "" name "${import}")
    string(APPEND definitions "    ${name}\n")
endforeach()
file(WRITE ${OUTPUT}.def "${definitions}")
execute_process(COMMAND ${DLLTOOL} --dllname ${DLL} --input-def ${OUTPUT}.def --output-delaylib ${OUTPUT}
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${DLLTOOL} could not make ${OUTPUT}")
endif()
