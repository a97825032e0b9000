# Run by CPack on the staged tree of the .deb, before it is packed. Debian keeps the games'
# programs in /usr/games, and lintian rejects a package of section games with its program
# anywhere else. Moving the link's directory keeps the link valid: both lie just below
# the prefix, so ../lib/snugbox/snugbox still leads to the program.
set(staged "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(CPACK_SNUGBOX_BINDIR MATCHES "/")
  message(FATAL_ERROR "the package needs the program link one level below the prefix, not in ${CPACK_SNUGBOX_BINDIR}")
endif()
file(RENAME "${staged}/${CPACK_SNUGBOX_BINDIR}" "${staged}/games")
