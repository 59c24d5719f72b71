# Installation into the standard places and the Debian package (cpack -G DEB).
include(GNUInstallDirs)

set(TALVANE_APP_ID org.talvane.Talvane)

install(TARGETS talvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/${TALVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${TALVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/${TALVANE_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/${size}x${size}/${TALVANE_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Debian wants the manual page and the changelog compressed, without a time stamp.
foreach(doc talvane.1 changelog)
    add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${doc}.gz
        COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/${doc} > ${CMAKE_CURRENT_BINARY_DIR}/${doc}.gz
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${doc} VERBATIM)
endforeach()
add_custom_target(talvane_docs ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/talvane.1.gz ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/talvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/talvane)

set(CPACK_PACKAGE_NAME talvane)
set(CPACK_PACKAGE_VENDOR "The Talvane developers")
set(CPACK_PACKAGE_CONTACT "The Talvane developers <developers@talvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "administration of the users, groups and access rights of a business suite")
set(CPACK_PACKAGE_DESCRIPTION "Talvane manages, in one window, the users (with their SQL Server logins),\n\
the groups with their per-company operations and work points, and the per-brand\n\
CRM roles of a business application suite whose data lives in Microsoft SQL\n\
Server. Without a login profile it opens an embedded demo suite.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries come from dpkg-shlibdeps; the plugins and the ODBC driver are loaded at
# run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-odbc, unixodbc, tdsodbc")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/packaging/postinst ${PROJECT_SOURCE_DIR}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
