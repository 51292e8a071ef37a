# Installing the game into a prefix P (`cmake --install build --prefix P`, DESTDIR honoured) and
# packaging it as a Debian package (`cpack -G DEB`, see scripts/package). The program finds its
# content tree from its own location (P/bin -> P/share/starvelkhorn), so the prefix may move.
include(GNUInstallDirs)

# Folders the install makes on its way get the usual rwxr-xr-x, not whatever the umask of the
# build gives: a package built under umask 002 would otherwise hold group-writable folders and
# differ from one built under 022.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                                GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS starvelkhorn RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# An installed program resolves its symbols at start and keeps its relocations read-only.
target_link_options(starvelkhorn PRIVATE -Wl,-z,relro -Wl,-z,now)

if(SK_CONTENT)
  install(DIRECTORY ${SK_DATA_DIR}/res ${SK_DATA_DIR}/sounds ${SK_DATA_DIR}/levels ${SK_DATA_DIR}/music
                    ${SK_DATA_DIR}/demo DESTINATION ${CMAKE_INSTALL_DATADIR}/starvelkhorn)
  install(DIRECTORY ${SK_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
endif()

install(FILES dist/starvelkhorn.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The metainfo's release entry takes its version and date from the build (cmake/ReleaseInfo.cmake).
include(${PROJECT_SOURCE_DIR}/cmake/ReleaseInfo.cmake)
configure_file(dist/org.starvelkhorn.Starvelkhorn.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/dist/org.starvelkhorn.Starvelkhorn.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/org.starvelkhorn.Starvelkhorn.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page and the change log go compressed, without a time stamp, as Debian expects.
set(dist_gz ${CMAKE_BINARY_DIR}/dist)
file(MAKE_DIRECTORY ${dist_gz})
foreach(pair IN ITEMS "dist/starvelkhorn.6|starvelkhorn.6.gz" "dist/changelog|changelog.gz")
  string(REPLACE "|" ";" pair ${pair})
  list(GET pair 0 source)
  list(GET pair 1 target)
  add_custom_command(
    OUTPUT ${dist_gz}/${target}
    COMMAND sh -c "gzip -9nc '${PROJECT_SOURCE_DIR}/${source}' > '${dist_gz}/${target}'"
    DEPENDS ${PROJECT_SOURCE_DIR}/${source}
    VERBATIM)
  list(APPEND dist_outputs ${dist_gz}/${target})
endforeach()
add_custom_target(dist_docs ALL DEPENDS ${dist_outputs})
install(FILES ${dist_gz}/starvelkhorn.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES README.md LICENSE dist/copyright ${dist_gz}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/starvelkhorn)
# The pictures the README shows go beside it, where its links look for them: read from the
# README itself, so a picture added to it is installed with it.
file(READ ${PROJECT_SOURCE_DIR}/README.md readme)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/README.md)
string(REGEX MATCHALL "src=\"docs/pictures/[^\"]+\"" shown "${readme}")
set(readme_pictures)
foreach(src IN LISTS shown)
  string(REGEX REPLACE "^src=\"(.*)\"$" "\\1" picture "${src}")
  list(APPEND readme_pictures ${PROJECT_SOURCE_DIR}/${picture})
endforeach()
list(REMOVE_DUPLICATES readme_pictures)
install(FILES ${readme_pictures}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/starvelkhorn/docs/pictures)

# --- The Debian package -------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME starvelkhorn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Starvelkhorn developers")
set(CPACK_PACKAGE_CONTACT "The Starvelkhorn developers <developers@starvelkhorn.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vertically scrolling aerial shoot-'em-up")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Buy a fighter, fly six missions over scrolling terrain against alien craft and\n"
       "their mother ships, and refit your aircraft in the hangar shop between\n"
       "missions. It plays with the keyboard or a gamepad. Every text in the game\n"
       "is Czech.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianGamesDir.cmake)
# Library dependencies are computed from the binary by dpkg-shlibdeps; the font is opened by
# file name at run time, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2 | fonts-liberation")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
