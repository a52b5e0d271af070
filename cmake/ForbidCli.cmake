# velmora_forbid_cli(target): fails the configuration when the target links
# velmora-run's library, directly or through any library it links: a front
# end beside the command line (the Python module) takes the core, lab/, as
# the command line does, and nothing of the command line's own.
include(${CMAKE_CURRENT_LIST_DIR}/ForbidQt.cmake)

function(velmora_forbid_cli target)
  _velmora_all_links(${target} links)
  if("velmora_cli" IN_LIST links)
    message(FATAL_ERROR "${target} must not link velmora_cli (the command line's library); link velmora_lab")
  endif()
endfunction()
