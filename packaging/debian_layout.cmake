# Run by CPack on the staged package tree: Debian keeps the programs of the
# games section in /usr/games. One level below /usr like bin/, the program
# still finds its data at ../share/blokit.
set(staged_usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${staged_usr}/games")
file(RENAME "${staged_usr}/bin/blokit" "${staged_usr}/games/blokit")
file(REMOVE_RECURSE "${staged_usr}/bin")
# The music's round is made for the machine's own SoundFont when the package
# is installed, where the package system keeps such files; the game looks for
# it among its data.
file(CREATE_LINK /var/cache/blokit/music-round "${staged_usr}/share/blokit/music-round" SYMBOLIC)
