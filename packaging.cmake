# Debian package: `cpack -G DEB` in the build folder makes trivora_<version>_<arch>.deb from
# the install rules. The libraries the programs link come from dpkg-shlibdeps; what they
# load at run time (the General MIDI soundfont, the fonts) is named here.
set(CPACK_PACKAGE_NAME trivora)
set(CPACK_PACKAGE_VENDOR "The Trivora team")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Arcade trivia machine for one to four players")
# The package's long description, wrapped for the package tools.
set(CPACK_PACKAGE_DESCRIPTION [=[One to four players take turns at an arcade trivia cabinet, each
starting with a credit of 5. Every question costs a credit and types
itself out letter by letter; four coloured buttons answer it before the
time gauge runs out, and a right answer spins the prize ladder.
Comes with a question set, a question editor and trivora-qst, a tool
that converts question sets from CSV, JSON and text.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Trivora team")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries found by dpkg-shlibdeps (Qt 6, FluidSynth, RtMidi, ALSA): the
# soundfont of the built-in synthesizer, the fonts of the play area and the SQLite driver of
# Qt SQL (a plugin, so dpkg-shlibdeps cannot see it) that keeps the hall of fame.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fluid-soundfont-gm | timgm6mb-soundfont, fonts-dejavu-core, libqt6sql6-sqlite")
# Spoken play uses the desktop's speech-dispatcher through this Qt plugin where one runs; the
# built-in Flite voice (libflite, found by dpkg-shlibdeps) speaks otherwise.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-speech-speechd-plugin")

include(CPack)
