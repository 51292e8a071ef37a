# The browser build (scripts/web): emscripten, with SDL2, SDL2_ttf, HarfBuzz, FreeType, libpng,
# zlib and libjpeg-turbo built for wasm by web/build-libs. SK_WEB_LIBS lists their install
# prefixes; SK_WEB_DATA is the generated content tree (made by a native build, since the
# generator needs cairo) and SK_WEB_FONT the interface font, both packed into the page's data.
set(SK_WEB_LIBS "" CACHE STRING "Install prefixes of the libraries built for the web")
set(SK_WEB_DATA "" CACHE PATH "The generated content tree to pack")
set(SK_WEB_FONT "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"
    CACHE FILEPATH "The interface font to pack")

# The prefix of one library, by the start of its folder's name.
function(sk_web_prefix out name)
  foreach(prefix IN LISTS SK_WEB_LIBS)
    get_filename_component(base ${prefix} NAME)
    if(base MATCHES "^${name}")
      set(${out} ${prefix} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "No ${name} among SK_WEB_LIBS (${SK_WEB_LIBS})")
endfunction()

sk_web_prefix(zlib zlib-)
sk_web_prefix(png libpng1.6-)
sk_web_prefix(jpeg libjpeg-turbo-)
sk_web_prefix(freetype freetype-)
sk_web_prefix(harfbuzz harfbuzz-)
sk_web_prefix(sdl2 libsdl2-2)
sk_web_prefix(ttf libsdl2-ttf-)

# The same target names the desktop build gets from pkg-config, so the layers link unchanged.
add_library(PkgConfig::SDL2 INTERFACE IMPORTED)
target_include_directories(PkgConfig::SDL2 INTERFACE ${ttf}/include/SDL2 ${sdl2}/include/SDL2)
target_link_libraries(PkgConfig::SDL2 INTERFACE ${ttf}/lib/libSDL2_ttf.a
                      ${harfbuzz}/lib/libharfbuzz.a ${freetype}/lib/libfreetype.a
                      ${sdl2}/lib/libSDL2.a)
add_library(PkgConfig::PNG INTERFACE IMPORTED)
target_include_directories(PkgConfig::PNG INTERFACE ${png}/include ${zlib}/include)
target_link_libraries(PkgConfig::PNG INTERFACE ${png}/lib/libpng16.a ${zlib}/lib/libz.a)
add_library(JPEG::JPEG INTERFACE IMPORTED)
target_include_directories(JPEG::JPEG INTERFACE ${jpeg}/include)
target_link_libraries(JPEG::JPEG INTERFACE ${jpeg}/lib/libjpeg.a)

# The game reports its errors by exceptions. Emscripten's own SDL 1 (its default) stays out:
# its headers would hide SDL2's.
add_compile_options(-fexceptions -sUSE_SDL=0)
add_link_options(-fexceptions -sUSE_SDL=0 -sALLOW_MEMORY_GROWTH=1)

# Link settings of the two programs the browser build makes, once they exist.
function(sk_web_targets)
  set(web ${PROJECT_SOURCE_DIR}/web)
  # The game: a page. Its loop blocks (the main loop, message boxes, waits), which ASYNCIFY
  # lets it do in a browser; the saved game lives in IndexedDB (IDBFS).
  set_target_properties(starvelkhorn PROPERTIES SUFFIX ".html")
  target_link_options(
    starvelkhorn PRIVATE -sASYNCIFY -sASYNCIFY_STACK_SIZE=262144 -sENVIRONMENT=web
    -sMINIFY_HTML=0 -sEXIT_RUNTIME=0 -lidbfs.js
    "-sEXPORTED_RUNTIME_METHODS=[\"FS\",\"ENV\",\"callMain\"]"
    # SDL's page code calls these without asking for them; read from a file, since a build
    # tool's shell would take their $ for its own.
    "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${web}/library_funcs.json"
    "SHELL:--shell-file ${web}/shell.html" "SHELL:--pre-js ${web}/pre.js"
    "SHELL:--pre-js ${web}/keep.js" "SHELL:--pre-js ${web}/touch.js" "SHELL:--pre-js ${web}/pad.js"
    "SHELL:--pre-js ${web}/end_page.js"
    "SHELL:--preload-file ${SK_WEB_DATA}/res@/usr/share/starvelkhorn/res"
    "SHELL:--preload-file ${SK_WEB_DATA}/sounds@/usr/share/starvelkhorn/sounds"
    "SHELL:--preload-file ${SK_WEB_DATA}/levels@/usr/share/starvelkhorn/levels"
    "SHELL:--preload-file ${SK_WEB_DATA}/music@/usr/share/starvelkhorn/music"
    "SHELL:--preload-file ${SK_WEB_DATA}/demo@/usr/share/starvelkhorn/demo"
    "SHELL:--preload-file ${SK_WEB_FONT}@${SK_WEB_FONT}")
  set_property(TARGET starvelkhorn APPEND PROPERTY LINK_DEPENDS ${web}/shell.html ${web}/pre.js
                                                         ${web}/keep.js ${web}/touch.js ${web}/pad.js
                                                         ${web}/end_page.js)
  # The headless driver runs under node and reads and writes the real files.
  target_link_options(starvelkhorn-sim PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1)
endfunction()
