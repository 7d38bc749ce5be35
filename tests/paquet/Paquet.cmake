# Unpacks the zip into DOSSIER as a user would and checks what it holds: exactly the program,
# the sample settings and the read-me in one folder, the same bytes as in resources/, and a
# program without symbols that needs nothing but Windows' own DLLs.
# cmake -DZIP=... -DDOSSIER=... -DSOURCES=... -DOBJDUMP=... -P Paquet.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT EXISTS "${ZIP}")
  message(FATAL_ERROR "${ZIP} is missing: tools/release makes it")
endif()
file(REMOVE_RECURSE "${DOSSIER}")
file(MAKE_DIRECTORY "${DOSSIER}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar xf "${ZIP}" WORKING_DIRECTORY "${DOSSIER}"
                RESULT_VARIABLE code)
if(code)
  message(FATAL_ERROR "cannot unpack ${ZIP}")
endif()

file(GLOB_RECURSE contenu LIST_DIRECTORIES true RELATIVE "${DOSSIER}" "${DOSSIER}/*")
list(SORT contenu)
set(attendu Vivelance Vivelance/LisezMoi.txt Vivelance/Vivlan.exe Vivelance/Vivlan.ini)
if(NOT contenu STREQUAL attendu)
  message(FATAL_ERROR "the zip holds [${contenu}], not [${attendu}]")
endif()

foreach(nom Vivlan.ini LisezMoi.txt)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files
                  "${DOSSIER}/Vivelance/${nom}" "${SOURCES}/resources/${nom}" RESULT_VARIABLE code)
  if(code)
    message(FATAL_ERROR "Vivelance/${nom} differs from resources/${nom}")
  endif()
endforeach()

set(exe "${DOSSIER}/Vivelance/Vivlan.exe")
execute_process(COMMAND "${OBJDUMP}" -p -t "${exe}" OUTPUT_VARIABLE entetes RESULT_VARIABLE code)
if(code)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${exe}")
endif()
if(NOT entetes MATCHES "SYMBOL TABLE:\nno symbols")
  message(FATAL_ERROR "Vivlan.exe still has its symbols")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" dlls "${entetes}")
if(NOT dlls)
  message(FATAL_ERROR "no imported DLL found in:\n${entetes}")
endif()
# What every Windows has in System32: no runtime of the compiler's.
set(systeme comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll user32.dll)
foreach(ligne IN LISTS dlls)
  string(REPLACE "DLL Name: " "" dll "${ligne}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST systeme)
    message(FATAL_ERROR "Vivlan.exe imports ${dll}, which Windows does not provide")
  endif()
endforeach()
