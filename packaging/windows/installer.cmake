# Builds PavSdi-VERSION-setup.exe in the build folder with NSIS (makensis):
# lays the files to install in installer/stage as they will lie under the
# install folder, writes the lists of them that the script lays and takes
# away one by one, then runs pavsdi.nsi.
#   cmake -DBUILD=... -DSOURCE=... -DVERSION=... -DWINDOW=0|1 -DPROGRAMS=a.exe|b.exe -P installer.cmake
# (pavsdiw.exe, the window, is taken from BUILD when WINDOW is 1).
cmake_minimum_required(VERSION 3.25)
set(stage ${BUILD}/installer/stage)
set(lists ${BUILD}/installer)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})

string(REPLACE "|" ";" programs "${PROGRAMS}")
if(WINDOW)
  list(APPEND programs ${BUILD}/pavsdiw.exe)
endif()
# Libraries the programs load (the sound module and its own), when built.
file(GLOB libraries ${BUILD}/*.dll)
file(COPY ${programs} ${libraries} DESTINATION ${stage})
file(COPY ${BUILD}/share DESTINATION ${stage})
file(COPY_FILE ${SOURCE}/LICENSE ${stage}/LICENSE.txt)

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${stage} ${stage}/*)
list(SORT files)
set(install "")
set(uninstall "")
set(folders "")
set(bytes 0)
set(out "")
foreach(file ${files})
  get_filename_component(folder ${file} DIRECTORY)
  string(REPLACE "/" "\\" name "${file}")
  string(REPLACE "$" "$$" name "${name}")
  if(NOT folder STREQUAL out)
    set(where "")
    if(NOT folder STREQUAL "")
      string(REPLACE "/" "\\" where "\\${folder}")
    endif()
    string(APPEND install "SetOutPath \"$INSTDIR${where}\"\n")
    set(out "${folder}")
  endif()
  string(APPEND install "File \"${stage}/${file}\"\n")
  string(APPEND uninstall "Delete \"$INSTDIR\\${name}\"\n")
  # Every folder on the way, so that each can go once empty.
  while(NOT folder STREQUAL "" AND NOT folder IN_LIST folders)
    list(APPEND folders ${folder})
    get_filename_component(folder ${folder} DIRECTORY)
  endwhile()
  file(SIZE ${stage}/${file} size)
  math(EXPR bytes "${bytes} + ${size}")
endforeach()
# Deepest first: a folder is empty only after the ones inside it.
list(SORT folders)
list(REVERSE folders)
foreach(folder ${folders})
  string(REPLACE "/" "\\" where "${folder}")
  string(APPEND uninstall "RMDir \"$INSTDIR\\${where}\"\n")
endforeach()
file(WRITE ${lists}/install.nsh "${install}SetOutPath \"$INSTDIR\"\n")
file(WRITE ${lists}/uninstall.nsh "${uninstall}")
math(EXPR kilobytes "(${bytes} + 1023) / 1024")

if(WINDOW)
  set(window 1)
else()
  set(window 0)
endif()
# The program's icon, made with the window; NSIS's own without it.
set(icon ${BUILD}/src/win32/resources/pavsdi.ico)
set(icon_option)
if(EXISTS ${icon})
  set(icon_option -DICON=${icon})
endif()
set(outfile ${BUILD}/PavSdi-${VERSION}-setup.exe)
execute_process(COMMAND makensis -V2 -INPUTCHARSET UTF8 -DVERSION=${VERSION} -DLISTS=${lists} ${icon_option}
                        -DWINDOW=${window} -DSIZE_KB=${kilobytes} -DOUTFILE=${outfile}
                        ${SOURCE}/packaging/windows/pavsdi.nsi
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "makensis failed (${result})")
endif()
message(STATUS "Installer: ${outfile}")
