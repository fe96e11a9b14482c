# FluidSynth for the Windows build, from third_party/fluidsynth: its own CMake
# build, run once with the same toolchain, as a static library without glib
# (its C++11 system layer) and with its Windows audio drivers (WASAPI,
# DirectSound, waveOut). Linux uses the system's libfluidsynth instead.
include(ExternalProject)
set(FLUIDSYNTH_SOURCE ${CMAKE_SOURCE_DIR}/third_party/fluidsynth)
set(FLUIDSYNTH_BUILD ${CMAKE_BINARY_DIR}/third_party/fluidsynth)
set(FLUIDSYNTH_LIBRARY ${FLUIDSYNTH_BUILD}/src/libfluidsynth-3.a)
get_filename_component(FLUIDSYNTH_TOOLCHAIN ${CMAKE_TOOLCHAIN_FILE} ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
set(FLUIDSYNTH_OFF aufile dbus jack ladspa libinstpatch libsndfile midishare network openmp oss pipewire
    portaudio pulseaudio readline sdl3 systemd alsa winmidi)
foreach(feature ${FLUIDSYNTH_OFF})
  list(APPEND FLUIDSYNTH_OPTIONS -Denable-${feature}=OFF)
endforeach()
ExternalProject_Add(fluidsynth_build
  SOURCE_DIR ${FLUIDSYNTH_SOURCE}
  BINARY_DIR ${FLUIDSYNTH_BUILD}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${FLUIDSYNTH_TOOLCHAIN} -DCMAKE_BUILD_TYPE=Release
             -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
             -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
             -DBUILD_SHARED_LIBS=OFF -Dosal=cpp11 -Dwindows-version=0x0A00
             -DGCEM_INCLUDE_DIR=${FLUIDSYNTH_SOURCE}/gcem/include ${FLUIDSYNTH_OPTIONS}
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${FLUIDSYNTH_BUILD} --target libfluidsynth
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${FLUIDSYNTH_LIBRARY})

# The generated fluidsynth.h sits in the build, the rest of the headers in
# the sources.
file(MAKE_DIRECTORY ${FLUIDSYNTH_BUILD}/include)
add_library(fluidsynth_windows STATIC IMPORTED GLOBAL)
set_target_properties(fluidsynth_windows PROPERTIES
  IMPORTED_LOCATION ${FLUIDSYNTH_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES "${FLUIDSYNTH_BUILD}/include;${FLUIDSYNTH_SOURCE}/include"
  INTERFACE_LINK_LIBRARIES "dsound;ksuser;winmm;ole32")
add_dependencies(fluidsynth_windows fluidsynth_build)
