# Installing the programs as a Linux desktop program, and their Debian package.
#   cmake --install build/release --prefix /usr              (or DESTDIR=... for a scratch root)
#   cpack --config build/release/CPackConfig.cmake -B build/release/paquet   (scripts/paquet)
# The shared data (the shipped device file, the help) go to share/pelitrax, where the
# programs find them from their own folder; the lab's own device file is never
# installed: the program writes it in a per-user folder (see TShellQt::DossierProgramme).

set(PELITRAX_ID org.pelitrax.Pelitrax)

install(TARGETS Pelitrax pelitrax-cli banc-virtuel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS pelitrax-image LIBRARY DESTINATION ${PELITRAX_DOSSIER_MODULES})
install(FILES ${PROJECT_SOURCE_DIR}/share/RS232.INI ${PROJECT_SOURCE_DIR}/share/aide.html
  DESTINATION ${PELITRAX_DOSSIER_PARTAGE})

# The simulator libraries of the vendor-library instruments, when this build makes them.
# Kept out of the library path: a bench without the hardware points
# PELITRAX_BIBLIOTHEQUES at this folder, a real lab never loads them by chance.
foreach(simulateur ${PELITRAX_SIMULATEURS})
  if(TARGET ${simulateur})
    install(TARGETS ${simulateur} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/pelitrax)
  endif()
endforeach()

# The desktop: menu entry, file types, icon, software centre metadata.
install(FILES ${PROJECT_SOURCE_DIR}/share/${PELITRAX_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/share/pelitrax-types.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME pelitrax.xml)
install(FILES ${PROJECT_SOURCE_DIR}/share/${PELITRAX_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PELITRAX_ICONES}/pelitrax.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(t ${PELITRAX_TAILLES_ICONE})
  install(FILES ${PELITRAX_ICONES}/${t}x${t}/pelitrax.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${t}x${t}/apps)
endforeach()

# The man page, compressed as Debian wants it when gzip is there.
set(page_man ${PROJECT_SOURCE_DIR}/tools/cli/pelitrax-cli.1)
find_program(PELITRAX_GZIP gzip)
if(PELITRAX_GZIP)
  set(page_man_gz ${PROJECT_BINARY_DIR}/man/pelitrax-cli.1.gz)
  add_custom_command(OUTPUT ${page_man_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${PELITRAX_GZIP} -9nc ${page_man} > ${page_man_gz}
    DEPENDS ${page_man})
  add_custom_target(pelitrax_page_man ALL DEPENDS ${page_man_gz})
  install(FILES ${page_man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  install(FILES ${page_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelitrax)

# The Debian package. The dependencies are the Qt 6 runtime packages of Debian 12 the
# programs link against, and the platform plugins a window needs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelitrax)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Équipe Pelitrax <pelitrax@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "acquisition des appareils de mesure du laboratoire sur ports série")
# CPack indents the description's lines itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Pelitrax lit les appareils de mesure des laboratoires de chimie et de physique
(pH-mètres, conductimètres, thermomètres, balances, voltmètres, burette motorisée)
sur les ports série, trace les courbes en direct, enregistre les points (base de
temps, barre d'espace, saisie, titrage) et exporte le tableau. Le paquet contient
aussi pelitrax-cli (les mêmes travaux sans fenêtre) et banc-virtuel (des instruments
simulés pour s'entraîner sans appareil).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libc6, libstdc++6, libgcc-s1, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6network6 (>= 6.4), libqt6serialport6 (>= 6.4), qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, shared-mime-info, desktop-file-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
