# The interface's own sources, which its DLL and its tests both build.
set(FAR3_SOURCES
    far3_gateway.cpp
    far3_dialog.cpp
    far3_plugin.cpp
    far3_settings.cpp
    far3_snapshot.cpp
    far3_find.cpp
    far3_results_panel.cpp)
list(TRANSFORM FAR3_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/far3/)
