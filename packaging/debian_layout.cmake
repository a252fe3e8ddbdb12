# Run by CPack on the staged package tree: Debian keeps the programs of the
# games section in /usr/games. One level below /usr like bin/, the program
# still finds its data at ../share/blokit.
set(staged_usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${staged_usr}/games")
file(RENAME "${staged_usr}/bin/blokit" "${staged_usr}/games/blokit")
file(REMOVE_RECURSE "${staged_usr}/bin")
