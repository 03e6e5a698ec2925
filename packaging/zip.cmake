# Packs the site's folder into a zip that is the same bytes whoever builds it,
# wherever and whenever: the files in name order, each readable by all and
# dated SOURCE_DATE_EPOCH when that is set (a release), else now, with no
# extra fields (owners, access and change times).
# cmake -DSITE=<folder> -DZIP=<file> -P zip.cmake
find_program(zip zip REQUIRED)
get_filename_component(parent ${SITE} DIRECTORY)
get_filename_component(name ${SITE} NAME)
file(GLOB files RELATIVE ${parent} ${SITE}/*)
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
