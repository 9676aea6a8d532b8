# Where an installed Nimbrel puts its files, relative to the install prefix.
# The frei0r folder is the one ffmpeg, MLT and GStreamer search under both
# /usr and /usr/local; the plug-in sits in a folder of its own, which the
# installed nimbrel program finds from its own location.
include(GNUInstallDirs)
set(NIMBREL_INSTALL_PLUGINDIR lib/nimbrel)
set(NIMBREL_INSTALL_FREI0RDIR lib/frei0r-1)
set(NIMBREL_INSTALL_KDENLIVEDIR ${CMAKE_INSTALL_DATADIR}/kdenlive/effects)
set(NIMBREL_INSTALL_SHOTCUTDIR ${CMAKE_INSTALL_DATADIR}/shotcut/qml/filters/nimbrel_rain)
# The plug-in as the installed program sees it: ../lib/nimbrel/Nimbrel.so.
file(RELATIVE_PATH NIMBREL_PLUGIN_FROM_BIN
  /${CMAKE_INSTALL_BINDIR} /${NIMBREL_INSTALL_PLUGINDIR}/Nimbrel.so)
# Linux OpenFX hosts look for bundles in /usr/OFX/Plugins, whatever the
# prefix; a staged install (DESTDIR, the package) puts it there under the stage.
set(NIMBREL_INSTALL_OFXDIR /usr/OFX/Plugins CACHE PATH "Where the OpenFX bundle is installed")
