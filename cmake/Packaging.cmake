# Installation layout and the Debian package (cpack -G DEB) for a shop computer:
#   /usr/lib/protavoruh/        the program, cfg.cae -> /etc/protavoruh/cfg.cae,
#                               setup-data (makes the data folder and database)
#   /usr/bin/protavoruh         launcher under the Indonesian regional settings
#   /etc/protavoruh/cfg.cae     conffile, points at /var/lib/protavoruh/tavoru.db
#   /usr/share/protavoruh/      the schema script the database is made from
#   /var/lib/protavoruh/        made by the postinst, never shipped, never removed
# Meant for the prefix /usr (the package's); the paths above are absolute in
# the files themselves.

set(TAVORU_PACKAGING_DIR ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
set(TAVORU_PACKAGE_VERSION ${PROJECT_VERSION} CACHE STRING
    "Version of the Debian package")
set(TAVORU_PACKAGE_MAINTAINER "proTavoruh maintainers <maintainers@protavoruh.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(TAVORU_LIBDIR lib/protavoruh)

install(TARGETS proTavoruh RUNTIME DESTINATION ${TAVORU_LIBDIR})
install(PROGRAMS ${TAVORU_PACKAGING_DIR}/setup-data DESTINATION ${TAVORU_LIBDIR})
install(PROGRAMS ${TAVORU_PACKAGING_DIR}/protavoruh DESTINATION bin)
# Readable by root and, once the postinst has given it to the group, by the
# group: it may hold a PostgreSQL password.
install(FILES ${TAVORU_PACKAGING_DIR}/cfg.cae DESTINATION /etc/protavoruh
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ)
install(FILES ${TAVORU_SCHEMA_SQLITE} DESTINATION share/protavoruh)
install(FILES ${TAVORU_PACKAGING_DIR}/protavoruh.desktop DESTINATION share/applications)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/resources/app_icon.png
        DESTINATION share/icons/hicolor/64x64/apps RENAME protavoruh.png)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/resources/app_icon_256.png
        DESTINATION share/icons/hicolor/256x256/apps RENAME protavoruh.png)

# The program reads cfg.cae beside its executable: there it is a link to the
# conffile. file(INSTALL) keeps links as links.
set(TAVORU_STAGE ${CMAKE_CURRENT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${TAVORU_STAGE})
file(CREATE_LINK /etc/protavoruh/cfg.cae ${TAVORU_STAGE}/cfg.cae SYMBOLIC)
install(FILES ${TAVORU_STAGE}/cfg.cae DESTINATION ${TAVORU_LIBDIR})

# Debian wants the changelog, the copyright and the manual page compressed
# reproducibly (gzip -n: no name, no time stamp).
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TAVORU_PACKAGE_MAINTAINER})
string(TIMESTAMP TAVORU_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${TAVORU_PACKAGING_DIR}/debian/changelog.in ${TAVORU_STAGE}/changelog @ONLY)
find_program(TAVORU_GZIP gzip)
if(TAVORU_GZIP)
    foreach(plain changelog:${TAVORU_STAGE}/changelog
                  protavoruh.1:${TAVORU_PACKAGING_DIR}/protavoruh.1)
        string(REPLACE ":" ";" pair ${plain})
        list(GET pair 0 name)
        list(GET pair 1 source)
        execute_process(COMMAND ${TAVORU_GZIP} -9 -n -c ${source}
                        OUTPUT_FILE ${TAVORU_STAGE}/${name}.gz)
    endforeach()
    install(FILES ${TAVORU_STAGE}/changelog.gz DESTINATION share/doc/protavoruh)
    install(FILES ${TAVORU_STAGE}/protavoruh.1.gz DESTINATION share/man/man1)
endif()
install(FILES ${TAVORU_PACKAGING_DIR}/debian/copyright DESTINATION share/doc/protavoruh)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME protavoruh)
set(CPACK_PACKAGE_VENDOR "Tavoru Aromatic")
set(CPACK_PACKAGE_VERSION ${TAVORU_PACKAGE_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "point of sale and stock of a perfume refill shop")
set(CPACK_PACKAGE_DESCRIPTION
    "proTavoruh prices, records and prints the sales of a perfume refill shop\n\
and moves its concentrate and bottle stock. It runs under the Indonesian\n\
regional settings and keeps one shared SQLite database for the users of\n\
the computer, with a checked copy of it every day.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Qt's SQLite driver and the platform/image plugins are loaded at run time, so
# dpkg-shlibdeps cannot see them; the maintainer scripts use sqlite3,
# locale-gen and addgroup. Without dpkg-shlibdeps the Qt libraries are named
# here as well.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, sqlite3, locales, adduser")
find_program(TAVORU_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TAVORU_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    string(PREPEND CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6core6, libqt6gui6, libqt6widgets6, \
libqt6sql6, libqt6printsupport6, libqt6charts6, libsodium23, libc6, libstdc++6, ")
endif()
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libqt6sql6-psql, cups-client")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${TAVORU_PACKAGING_DIR}/debian/postinst
    ${TAVORU_PACKAGING_DIR}/debian/postrm
    ${TAVORU_PACKAGING_DIR}/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
