# Run by CPack before it packs: the game's programs go to /usr/games, as Debian keeps a game's,
# and no program keeps the compiler's notes.
file(GLOB GD_GAME_PROGRAMS "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/game/usr/bin/*")
foreach(program ${GD_GAME_PROGRAMS})
    get_filename_component(name ${program} NAME)
    file(MAKE_DIRECTORY "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/game/usr/games")
    file(RENAME ${program} "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/game/usr/games/${name}")
endforeach()
file(REMOVE_RECURSE "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/game/usr/bin")
# The install stripped the symbols; the .comment section of compiler versions stays till here.
file(GLOB GD_PROGRAMS "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/game/usr/games/*"
     "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/server/usr/bin/*")
foreach(program ${GD_PROGRAMS})
    execute_process(COMMAND objcopy --remove-section=.comment ${program})
endforeach()
