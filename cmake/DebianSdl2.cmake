# SDL2 for the programs that play sound and open windows (velmora-audio, later the card
# player), linked statically so that the only libraries they load at start are the C
# library's: SDL opens PulseAudio, PipeWire, ALSA, X11 or Wayland itself when it runs.
#
# Debian's own libSDL2.a links those libraries directly, so SDL is built here from Debian 12's
# source package with SDL's defaults, which load every backend at run time. The source comes
# through apt with a private state in the build folder (deb-src entries derived from the
# machine's own apt sources, no host named here), once per build folder. When it cannot be
# had, the build uses the shared libSDL2 of libsdl2-dev instead and says so.
#
# Defines the target velmora_sdl2 and VELMORA_SDL2_STATIC (ON when built from source).

set(VELMORA_SDL2_DEBIAN_VERSION "2.26.5+dfsg-1" CACHE STRING
    "Version of Debian's libsdl2 source package to build")
option(VELMORA_SDL2_FROM_SOURCE "Build SDL2 statically from Debian's source package" ON)

set(_sdl_work ${CMAKE_BINARY_DIR}/_deps/sdl2)
set(_sdl_prefix ${_sdl_work}/prefix)
set(_sdl_stamp ${_sdl_prefix}/built-${VELMORA_SDL2_DEBIAN_VERSION})

# Runs a step of the SDL build with its output in a log; on failure sets _sdl_failure.
function(_velmora_sdl_step name)
    if(_sdl_failure)
        return()
    endif()
    execute_process(COMMAND ${ARGN}
        WORKING_DIRECTORY ${_sdl_work}
        OUTPUT_FILE ${_sdl_work}/${name}.log ERROR_FILE ${_sdl_work}/${name}.log
        RESULT_VARIABLE result TIMEOUT 1800)
    if(NOT result EQUAL 0)
        set(_sdl_failure "${name} failed (${result}), see ${_sdl_work}/${name}.log" PARENT_SCOPE)
    endif()
endfunction()

# The machine's apt sources as source entries: deb822 files get "Types: deb-src", one-line
# entries "deb-src".
function(_velmora_sdl_source_lists apt)
    file(MAKE_DIRECTORY ${apt}/sources.list.d ${apt}/lists/partial ${apt}/cache/archives/partial)
    file(WRITE ${apt}/sources.list "")
    file(GLOB deb822 /etc/apt/sources.list.d/*.sources)
    foreach(file IN LISTS deb822)
        file(READ ${file} text)
        string(REGEX REPLACE "(^|\n)Types:[^\n]*" "\\1Types: deb-src" text "${text}")
        get_filename_component(name ${file} NAME)
        file(WRITE ${apt}/sources.list.d/${name} "${text}")
    endforeach()
    file(GLOB lists /etc/apt/sources.list /etc/apt/sources.list.d/*.list)
    foreach(file IN LISTS lists)
        file(STRINGS ${file} lines REGEX "^[ \t]*deb[ \t]")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*deb[ \t]" "deb-src " line "${line}")
            file(APPEND ${apt}/sources.list "${line}\n")
        endforeach()
    endforeach()
endfunction()

function(_velmora_build_sdl2)
    file(REMOVE_RECURSE ${_sdl_work})
    file(MAKE_DIRECTORY ${_sdl_work})
    string(TIMESTAMP started "%s")
    message(STATUS "SDL2: fetching Debian's libsdl2 ${VELMORA_SDL2_DEBIAN_VERSION} source and building it (once per build folder)")

    find_program(_apt_get apt-get)
    find_program(_dpkg_source dpkg-source)
    if(NOT _apt_get OR NOT _dpkg_source)
        set(_sdl_failure "apt-get or dpkg-source (package dpkg-dev) is missing")
    endif()
    set(apt ${_sdl_work}/apt)
    _velmora_sdl_source_lists(${apt})
    execute_process(COMMAND id -un OUTPUT_VARIABLE user OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(apt_options -q -o Dir::Etc::SourceList=${apt}/sources.list
        -o Dir::Etc::SourceParts=${apt}/sources.list.d -o Dir::State::Lists=${apt}/lists
        -o Dir::Cache=${apt}/cache -o APT::Sandbox::User=${user})
    _velmora_sdl_step(apt-update ${_apt_get} ${apt_options} update)
    _velmora_sdl_step(apt-source ${_apt_get} ${apt_options} source
        libsdl2=${VELMORA_SDL2_DEBIAN_VERSION})
    file(GLOB source_dir LIST_DIRECTORIES true ${_sdl_work}/libsdl2-*)
    list(FILTER source_dir INCLUDE REGEX "/libsdl2-[0-9][^/]*$")
    if(NOT _sdl_failure AND NOT IS_DIRECTORY "${source_dir}")
        set(_sdl_failure "the source package did not unpack")
    endif()

    # SDL's defaults (every backend loaded at run time) minus what no Velmora program uses:
    # the shared library, tests, joysticks, haptics, HID and sensors.
    include(ProcessorCount)
    ProcessorCount(jobs)
    _velmora_sdl_step(sdl-configure ${CMAKE_COMMAND} -S ${source_dir} -B ${_sdl_work}/build
        -G ${CMAKE_GENERATOR} -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=${_sdl_prefix}
        -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_STATIC_PIC=ON -DSDL_TEST=OFF
        -DSDL2_DISABLE_SDL2MAIN=ON -DSDL2_DISABLE_UNINSTALL=ON
        -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF)
    _velmora_sdl_step(sdl-build ${CMAKE_COMMAND} --build ${_sdl_work}/build --parallel ${jobs})
    _velmora_sdl_step(sdl-install ${CMAKE_COMMAND} --install ${_sdl_work}/build)
    if(_sdl_failure)
        set(_sdl_failure ${_sdl_failure} PARENT_SCOPE)
        return()
    endif()
    file(GLOB downloads ${_sdl_work}/libsdl2_*)
    file(REMOVE_RECURSE ${_sdl_work}/build ${source_dir} ${apt} ${downloads})
    string(TIMESTAMP finished "%s")
    math(EXPR seconds "${finished} - ${started}")
    file(WRITE ${_sdl_stamp} "${seconds}\n")
    message(STATUS "SDL2: built in ${seconds} s")
endfunction()

if(VELMORA_SDL2_FROM_SOURCE AND NOT EXISTS ${_sdl_stamp})
    _velmora_build_sdl2()
    if(_sdl_failure)
        message(WARNING "SDL2 could not be built from Debian's source package: ${_sdl_failure}. "
            "Using the shared libSDL2 instead: velmora-audio and the card player will need "
            "libsdl2-2.0-0 wherever they run. Set VELMORA_SDL2_FROM_SOURCE=ON to try again.")
        set(VELMORA_SDL2_FROM_SOURCE OFF CACHE BOOL "" FORCE)
    endif()
endif()

add_library(velmora_sdl2 INTERFACE)
if(VELMORA_SDL2_FROM_SOURCE)
    set(SDL2_DIR ${_sdl_prefix}/lib/cmake/SDL2 CACHE PATH "" FORCE)
    find_package(SDL2 CONFIG REQUIRED PATHS ${_sdl_prefix} NO_DEFAULT_PATH)
    target_link_libraries(velmora_sdl2 INTERFACE SDL2::SDL2-static)
    set(VELMORA_SDL2_STATIC ON CACHE INTERNAL "SDL2 linked statically")
    message(STATUS "SDL2: static, from Debian's libsdl2 ${VELMORA_SDL2_DEBIAN_VERSION} source")
else()
    unset(SDL2_DIR CACHE)
    find_package(SDL2 REQUIRED)
    target_link_libraries(velmora_sdl2 INTERFACE SDL2::SDL2)
    set(VELMORA_SDL2_STATIC OFF CACHE INTERNAL "SDL2 linked statically")
    message(STATUS "SDL2: the shared library of libsdl2-dev")
endif()

# Programs that travel to machines without our packages: the C++ runtime linked in too.
function(velmora_standalone_program target)
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc)
endfunction()
