# CPack pre-build script: the uninstaller's lists of files and folders to
# remove, in name order. CPack writes them in the order the file system
# returns the files, which differs from one machine to the next, and the
# installer's bytes with it.
if(NOT CPACK_GENERATOR STREQUAL "NSIS")
    return()
endif()
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${CPACK_TEMPORARY_DIRECTORY}
    ${CPACK_TEMPORARY_DIRECTORY}/*)
file(GLOB_RECURSE folders LIST_DIRECTORIES true RELATIVE ${CPACK_TEMPORARY_DIRECTORY}
    ${CPACK_TEMPORARY_DIRECTORY}/*)
list(REMOVE_ITEM folders ${files})
list(SORT files)
# Inner folders before the folders that hold them.
list(SORT folders ORDER DESCENDING)
set(CPACK_NSIS_DELETE_FILES "")
foreach(file IN LISTS files)
    string(REPLACE "/" "\\" file ${file})
    string(APPEND CPACK_NSIS_DELETE_FILES "  Delete \"$INSTDIR\\${file}\"\n")
endforeach()
set(CPACK_NSIS_DELETE_DIRECTORIES "")
foreach(folder IN LISTS folders)
    string(REPLACE "/" "\\" folder ${folder})
    string(APPEND CPACK_NSIS_DELETE_DIRECTORIES "  RMDir \"$INSTDIR\\${folder}\"\n")
endforeach()
