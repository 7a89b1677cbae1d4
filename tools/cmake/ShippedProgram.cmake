# ostrel_shipped_program(TARGET): a Windows program as it ships. After each link its symbols and
# debug sections go to TARGET_FILE.debug beside it (objcopy --only-keep-debug), and the program
# is stripped with a .gnu_debuglink to that file, from which a debugger takes them back. Nothing
# on Linux.
function(ostrel_shipped_program target)
  if(NOT WIN32)
    return()
  endif()
  set(_exe $<TARGET_FILE:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${_exe} ${_exe}.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${_exe}.debug ${_exe}
    COMMENT "Stripping ${target}; its symbols are in $<TARGET_FILE_NAME:${target}>.debug"
    VERBATIM)
  set_property(TARGET ${target} APPEND PROPERTY ADDITIONAL_CLEAN_FILES ${_exe}.debug)
endfunction()
