# `cpack` (or `cmake --build build --target package`) builds the Debian
# package nimbrel_<version>_amd64.deb from the install rules, with /usr as
# its prefix: the frei0r filter lands in /usr/lib/frei0r-1, where ffmpeg,
# MLT and GStreamer look without FREI0R_PATH.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nimbrel)
set(CPACK_PACKAGE_VENDOR "Nimbrel developers")
set(CPACK_PACKAGE_CONTACT "Nimbrel maintainers <maintainers@users.noreply.c-seed-4649931d.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rain image effect for compositing, video tools and editors")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Nimbrel streaks hash-noise rain drops along the rain direction, diffuses the\n"
  "picture's highlights along the rain and blends the result over the picture\n"
  "with one of 25 blend methods. This package holds the effect plug-in, the\n"
  "nimbrel command-line renderer, the OpenFX bundle (in /usr/OFX/Plugins) and\n"
  "the frei0r filter for ffmpeg, MLT and GStreamer with the effect\n"
  "descriptions Kdenlive and Shotcut need to offer it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
# Run-time libraries (OpenImageIO, the C++ runtime) from the programs' own
# links; the video tools that load the filter are for the user to choose.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ffmpeg, melt")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gstreamer1.0-plugins-bad, kdenlive, shotcut")
include(CPack)
