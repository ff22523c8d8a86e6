# Installing Mirla like any Linux program: the programs into bin/, the constants library into
# share/mirla/ (where an installed program looks for it), and what the desktop needs to list,
# show and describe it. A further tool is installed by adding its target to MIRLA_INSTALLED_PROGRAMS.
include(GNUInstallDirs)

set(MIRLA_INSTALLED_PROGRAMS mirlac)
if(TARGET mirla)
  list(APPEND MIRLA_INSTALLED_PROGRAMS mirla mirla-plot)
endif()
install(TARGETS ${MIRLA_INSTALLED_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/Mirla.CON DESTINATION ${CMAKE_INSTALL_DATADIR}/mirla)
install(FILES data/mirlac.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET mirla)
  install(FILES data/desktop/org.mirla.Mirla.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/desktop/org.mirla.Mirla.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES data/desktop/org.mirla.Mirla.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# A Debian package: cpack -G DEB in the build folder gives mirla_<version>_<arch>.deb, which
# apt installs with the libraries it needs.
set(CPACK_PACKAGE_NAME mirla)
set(CPACK_PACKAGE_VENDOR Mirla)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "scientific calculator with plots, matrices and units")
set(CPACK_PACKAGE_DESCRIPTION
    "Mirla computes in 80-bit extended precision with real or complex numbers, plots functions, \
works with matrices and converts units. mirlac is the same calculator in the terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Mirla developers <mirla@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
# The libraries come from the programs' own links; Qt finds the display through its platform
# plugins, which no program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET mirla)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
include(CPack)
