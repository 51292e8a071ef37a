# Every target of the project compiles with the same strict warnings. They are errors only when
# SK_WERROR is on (scripts/build, scripts/test and CI turn it on): a compiler newer than ours, or
# a distribution's own flags, may warn where we do not, and that must not break a user's build.
option(SK_WERROR "Treat compiler warnings as errors" OFF)

function(sk_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
  if(SK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Globs the sources of one folder; CONFIGURE_DEPENDS lets new files join without editing lists.
function(sk_sources out)
  set(files)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()
