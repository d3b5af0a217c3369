# One static library per core folder (tarvelo_support, tarvelo_cis, ...), in the layers of
# tools/layers.txt. Each links only the libraries of the folders on lower lines, and for each
# an executable (tarvelo_layer_check_FOLDER) links all of its objects against those alone, so
# that a call from a folder into its own layer or above fails the link. Folders with a
# CMakeLists.txt of their own (pictures, audio, cli, app) are built there.
#
# Sets tarvelo_core: an interface library of every core folder, for the front ends and tests.

option(TARVELO_CHECK_LAYERS "Link each core folder alone against the folders below it" ON)

file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/tools/layers.txt layer_lines REGEX "^[a-z]")
set(tarvelo_lower_layers)
set(tarvelo_layer_check_main ${CMAKE_CURRENT_LIST_DIR}/LayerCheckMain.cpp)
foreach(line IN LISTS layer_lines)
  separate_arguments(folders UNIX_COMMAND "${line}")
  set(this_layer)
  foreach(folder IN LISTS folders)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/CMakeLists.txt)
      continue()
    endif()
    file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
    add_library(tarvelo_${folder} STATIC ${folder_sources})
    target_include_directories(tarvelo_${folder} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(tarvelo_${folder} PUBLIC ${tarvelo_lower_layers})
    if(TARVELO_CHECK_LAYERS AND NOT CMAKE_CROSSCOMPILING AND NOT MSVC AND NOT APPLE)
      add_executable(tarvelo_layer_check_${folder} ${tarvelo_layer_check_main})
      target_link_libraries(tarvelo_layer_check_${folder} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,tarvelo_${folder}>")
    endif()
    list(APPEND this_layer tarvelo_${folder})
  endforeach()
  list(APPEND tarvelo_lower_layers ${this_layer})
endforeach()

add_library(tarvelo_core INTERFACE)
target_link_libraries(tarvelo_core INTERFACE ${tarvelo_lower_layers})
