# `make windows`: a portable zip and a 64-bit NSIS installer of the one
# self-contained tarvik.exe with its bitmaps.

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
# The LGPL asks that a statically linked Qt comes with its licence texts.
install(DIRECTORY ${QT6_INSTALL_PREFIX}/licenses/ DESTINATION qt-licenses)
# Qt's own words in the error box (its buttons, "Show Details...") in Russian;
# qt.conf tells the program where they lie. Both go beside the built program
# too, so that it speaks as the installed one does.
find_file(TARVIK_QT_RUSSIAN qtbase_ru.qm
    PATHS /usr/share/qt6/translations NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(COPY ${TARVIK_QT_RUSSIAN} DESTINATION ${TARVIK_BIN_DIR}/translations)
file(WRITE ${TARVIK_BIN_DIR}/qt.conf "[Paths]\nTranslations = translations\n")
install(FILES ${TARVIK_BIN_DIR}/translations/qtbase_ru.qm DESTINATION translations)
install(FILES ${TARVIK_BIN_DIR}/qt.conf DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Tarvik)
set(CPACK_PACKAGE_VENDOR "The Tarvik team")
set(CPACK_PACKAGE_FILE_NAME tarvik-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tarvik)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tarvik)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_EXECUTABLES tarvik "Тарвик")
set(CPACK_NSIS_DISPLAY_NAME "Тарвик")
set(CPACK_NSIS_PACKAGE_NAME "Тарвик")
set(CPACK_NSIS_INSTALLED_ICON_NAME tarvik.exe)
set(CPACK_NSIS_MUI_ICON ${TARVIK_ICO})
set(CPACK_NSIS_MUI_UNIICON ${TARVIK_ICO})
# 64-bit, under Program Files, for every user of the machine. The files keep
# no dates of their own in the installer: it is the same bytes from every build.
set(CPACK_NSIS_DEFINES "Target amd64-unicode\nSetDateSave off")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLE_PRE_ARGUMENTS -INPUTCHARSET UTF8)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# Both in an order of their own, not the file system's.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/nsis-uninstall-list.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/zip.cmake)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
