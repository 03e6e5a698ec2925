# Packs a folder into a zip that is the same bytes whoever builds it, wherever
# and whenever: its files in name order, each readable by all and dated
# SOURCE_DATE_EPOCH when that is set (a release), else now, with no extra
# fields (owners, access and change times) and no entries for folders.
#   cmake -DFOLDER=<folder> -DZIP=<file> -P zip.cmake
# As a CPack post-build script it packs again the zip CPack made, which lists
# its files in the order the file system returns them and records owners.
if(CPACK_GENERATOR)
    if(NOT CPACK_GENERATOR STREQUAL "ZIP")
        return()
    endif()
    set(FOLDER ${CPACK_TEMPORARY_DIRECTORY})
    set(ZIP ${CPACK_PACKAGE_FILES})
endif()
find_program(zip zip REQUIRED)
get_filename_component(parent ${FOLDER} DIRECTORY)
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${parent} ${FOLDER}/*)
list(SORT files)
string(TIMESTAMP date "%Y%m%d%H%M.%S" UTC)
foreach(file IN LISTS files)
    file(CHMOD ${parent}/${file} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC touch -t ${date} ${parent}/${file}
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${zip} -q -X -D ${ZIP} ${files}
    WORKING_DIRECTORY ${parent} COMMAND_ERROR_IS_FATAL ANY)
