# Run by CPack on the staged package tree: Debian keeps the programs of the
# games section in /usr/games. One level below /usr like bin/, the program
# still finds its data at ../share/blokit.
set(staged_usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${staged_usr}/games")
file(RENAME "${staged_usr}/bin/blokit" "${staged_usr}/games/blokit")
file(REMOVE_RECURSE "${staged_usr}/bin")
# The compilers' names and versions that every object file records are no
# part of the program; Debian's own packages leave them out as well.
execute_process(COMMAND "${CPACK_BLOKIT_STRIP}" --remove-section=.comment --remove-section=.note
                        "${staged_usr}/games/blokit" COMMAND_ERROR_IS_FATAL ANY)
