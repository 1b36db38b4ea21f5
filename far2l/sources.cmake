# The interface's own sources, which its module and its tests both build.
set(FAR2L_SOURCES
    far2l_plugin.cpp
    far2l_gateway.cpp
    far2l_snapshot.cpp
    far2l_settings.cpp
    far2l_console_input.cpp
    far2l_dialog.cpp
    far2l_console.cpp
    far2l_find.cpp
    far2l_results_panel.cpp)
list(TRANSFORM FAR2L_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/far2l/)
