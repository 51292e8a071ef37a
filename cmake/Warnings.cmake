# Every target of the project compiles with the same strict warnings; a warning is an error.
function(sk_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror -Wno-missing-field-initializers)
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
