# Run by CPack on its staging tree before it builds the Debian package: Debian keeps the
# binaries of games in /usr/games. The program finds its data from /usr/games as it does from
# /usr/bin (both sit beside /usr/share).
file(GLOB_RECURSE staged_binaries "${CPACK_TEMPORARY_DIRECTORY}/*/bin/starvelkhorn")
if(NOT staged_binaries)
  file(GLOB_RECURSE staged_binaries "${CPACK_TEMPORARY_DIRECTORY}/bin/starvelkhorn")
endif()
list(LENGTH staged_binaries count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one staged bin/starvelkhorn under ${CPACK_TEMPORARY_DIRECTORY}, found: ${staged_binaries}")
endif()
get_filename_component(bin_dir "${staged_binaries}" DIRECTORY)
get_filename_component(usr_dir "${bin_dir}" DIRECTORY)
file(MAKE_DIRECTORY "${usr_dir}/games")
file(CHMOD "${usr_dir}/games" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                                    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(RENAME "${staged_binaries}" "${usr_dir}/games/starvelkhorn")
file(GLOB left_in_bin "${bin_dir}/*")
if(NOT left_in_bin)
  file(REMOVE_RECURSE "${bin_dir}")
endif()
# As Debian's own packaging does: no compiler notes or symbols the program does not need.
find_program(strip_program strip REQUIRED)
execute_process(COMMAND ${strip_program} --remove-section=.comment --remove-section=.note
                        --strip-unneeded "${usr_dir}/games/starvelkhorn"
                COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Debian layout: the game in ${usr_dir}/games")
