# Windows executables carry their runtime, so there are no DLLs to ship.
function(addfolder_static_runtime target)
  if(MINGW)
    target_link_options(${target} PRIVATE -static)
  endif()
endfunction()

# A Windows program whose entry is wWinMain or wmain.
function(addfolder_windows_executable target)
  addfolder_static_runtime(${target})
  if(MINGW)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()
