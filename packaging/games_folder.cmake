# Run by CPack before it packs: Debian keeps the programs of a game package in /usr/games.
file(GLOB GD_GAME_PROGRAMS "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/game/usr/bin/*")
foreach(program ${GD_GAME_PROGRAMS})
    get_filename_component(name ${program} NAME)
    file(MAKE_DIRECTORY "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/game/usr/games")
    file(RENAME ${program} "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/game/usr/games/${name}")
endforeach()
file(REMOVE_RECURSE "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/game/usr/bin")
