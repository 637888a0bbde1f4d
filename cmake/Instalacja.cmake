# `cmake --install` and the Debian package. Included at the end of the top CMakeLists, so that it
# sees every program target.
#
# The program file goes to lib/paplanki/ with bin/paplanki as a link to it: the program looks for
# its help files (and writes its event log) beside its own file, which must not be bin/.

set(PAPLANKI_DANE ${CMAKE_SOURCE_DIR}/src/pulpit/dane)
set(PAPLANKI_FOLDER_PROGRAMU lib/paplanki)

install(TARGETS paplanki RUNTIME DESTINATION ${PAPLANKI_FOLDER_PROGRAMU})
install(CODE "
  set(cel \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/paplanki\")
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  file(REMOVE \"\${cel}\")
  file(CREATE_LINK ../${PAPLANKI_FOLDER_PROGRAMU}/paplanki \"\${cel}\" SYMBOLIC)
  message(STATUS \"Installing: \${cel}\")
")
# Help in Polish; a program started under an English or C locale looks for the ENU file.
install(FILES ${PAPLANKI_DANE}/paplankiPLK.html DESTINATION ${PAPLANKI_FOLDER_PROGRAMU})
install(FILES ${PAPLANKI_DANE}/paplankiPLK.html DESTINATION ${PAPLANKI_FOLDER_PROGRAMU}
        RENAME paplankiENU.html)

install(FILES ${PAPLANKI_DANE}/pl.kolbiny.Paplanki.desktop DESTINATION share/applications)
install(FILES ${PAPLANKI_DANE}/pl.kolbiny.Paplanki.metainfo.xml DESTINATION share/metainfo)
install(FILES ${PAPLANKI_DANE}/pl.kolbiny.Paplanki.svg
        DESTINATION share/icons/hicolor/scalable/apps)
install(DIRECTORY ${CMAKE_BINARY_DIR}/ikony/hicolor DESTINATION share/icons)

# Our own GG server, once the tree has one.
if(TARGET paplanki-serwer)
  install(TARGETS paplanki-serwer RUNTIME DESTINATION bin)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME paplanki)
set(CPACK_PACKAGE_VENDOR Kolbiny)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kolbiny <paplanki@kolbiny.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "komunikator sieci GG")
set(CPACK_PACKAGE_DESCRIPTION "Paplanki (GG) przyjmują i wysyłają wiadomości w sieci GG, \
pokazują obecność śledzonych osób i pozwalają ustawić własny stan z opisem.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from dpkg-shlibdeps; Qt's platform and image plugins are loaded at run time, so
# they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sound-theme-freedesktop, qt6-wayland")
include(CPack)
