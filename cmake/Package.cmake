# The Debian package of the tool, made by `cpack` in the build folder:
# velmora_<version>_<architecture>.deb, installed under /usr. Its dependencies are read from
# the programs themselves (dpkg-shlibdeps). The desktop's caches (menu entries, file types,
# icons) are brought up to date by the triggers of the packages that own them, so the package
# needs no scripts of its own.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR Velmora)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "authoring tool for animated greeting cards")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Velmora (VLM Builder) composes a short animated greeting card as a list of timed
events (the card window opening, background pictures with transitions, text messages,
sounds, tunes, pauses), saves it as a .vlm script and builds it into a card file that
plays by itself. velmora-build builds cards from scripts without a window and
velmora-audio plays what a card will play.")
set(VELMORA_MAINTAINER "Velmora developers <velmora@example.org>" CACHE STRING
    "The Maintainer of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELMORA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The sound engine opens the desktop's sound system itself when it plays.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libpulse0 | libasound2")
# Stripped as Debian's programs are; the stub is stripped too, and cards are built on it as
# installed.
set(CPACK_STRIP_FILES ON)
include(CPack)
