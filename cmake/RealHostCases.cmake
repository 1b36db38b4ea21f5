# The real-host cases of a build: the plug-in installed in a copy of the host
# (../shared/realhost, or the folder VELTRANE_REALHOST names), driven by keys in
# tmux and checked on the screen (e2e/realhost/run.py). One test per case group
# and view mode; they share tmux and a Wine prefix, so they run one at a time.
# Where the host cannot run here, they are reported skipped with the reason.
#
#   veltrane_realhost_cases(KIND <x86|x64|far2l> PLUGIN <file or folder>...
#                           [GROUPS <group>...] [MODES <mode>...]
#                           [WORK <folder>] [SUFFIX <name>])
#
# GROUPS defaults to every group, MODES to both view modes (default and
# descriptions). WORK, where the Wine prefix is kept, defaults to
# <build>/realhost. The tests are named realhost_<kind>_<group>_<mode>, with
# _<SUFFIX> after when given.
find_program(PYTHON3 python3 REQUIRED)

function(veltrane_realhost_cases)
  cmake_parse_arguments(PARSE_ARGV 0 RH "" "KIND;WORK;SUFFIX" "PLUGIN;GROUPS;MODES")
  if(NOT RH_GROUPS)
    set(RH_GROUPS menu speed_search select unicode russian find keys masks macros)
  endif()
  if(NOT RH_MODES)
    set(RH_MODES default descriptions)
  endif()
  if(NOT RH_WORK)
    set(RH_WORK ${CMAKE_BINARY_DIR}/realhost)
  endif()
  if(RH_SUFFIX)
    set(RH_SUFFIX _${RH_SUFFIX})
  endif()
  set(command ${PYTHON3} ${PROJECT_SOURCE_DIR}/e2e/realhost/run.py --kind ${RH_KIND} --work ${RH_WORK})
  foreach(path IN LISTS RH_PLUGIN)
    list(APPEND command --plugin ${path})
  endforeach()
  foreach(group IN LISTS RH_GROUPS)
    foreach(mode IN LISTS RH_MODES)
      set(name realhost_${RH_KIND}_${group}_${mode}${RH_SUFFIX})
      add_test(NAME ${name} COMMAND ${command} ${group} ${mode})
      set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77 RESOURCE_LOCK realhost TIMEOUT 600)
    endforeach()
  endforeach()
endfunction()

# The plug-in's own reading of description files against what the host
# shows in its Descriptions view, folder by folder (e2e/realhost/
# differential.py): one test, realhost_<kind>_descriptions_as_the_host_reads_them.
#
#   veltrane_realhost_differential(KIND <x86|x64|far2l> PLUGIN <file or folder>...)
function(veltrane_realhost_differential)
  cmake_parse_arguments(PARSE_ARGV 0 RH "" "KIND" "PLUGIN")
  set(command ${PYTHON3} ${PROJECT_SOURCE_DIR}/e2e/realhost/differential.py --kind ${RH_KIND}
      --work ${CMAKE_BINARY_DIR}/realhost)
  foreach(path IN LISTS RH_PLUGIN)
    list(APPEND command --plugin ${path})
  endforeach()
  set(name realhost_${RH_KIND}_descriptions_as_the_host_reads_them)
  add_test(NAME ${name} COMMAND ${command})
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77 RESOURCE_LOCK realhost TIMEOUT 1800)
endfunction()
