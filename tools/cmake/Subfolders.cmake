# ostrel_add_subfolders(WINDOWS folder...): each subfolder of the current folder that has its own
# CMakeLists.txt and is not in OSTREL_SKIP_DIRS. The Windows build takes only the folders named
# after WINDOWS (paths from the source root).
function(ostrel_add_subfolders)
  cmake_parse_arguments(_sub "" "" "WINDOWS" ${ARGN})
  file(GLOB _sub_dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(_d IN LISTS _sub_dirs)
    file(RELATIVE_PATH _rel ${CMAKE_SOURCE_DIR} ${_d})
    if(WIN32 AND NOT _rel IN_LIST _sub_WINDOWS)
      continue()
    endif()
    if(IS_DIRECTORY ${_d} AND EXISTS ${_d}/CMakeLists.txt AND NOT _rel IN_LIST OSTREL_SKIP_DIRS)
      add_subdirectory(${_d})
    endif()
  endforeach()
endfunction()
