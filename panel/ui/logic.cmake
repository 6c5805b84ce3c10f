# The panel's portable event rules (included from this folder's CMakeLists.txt).
add_library(tambrel_ui_logic STATIC ${CMAKE_CURRENT_LIST_DIR}/panel_controller.cpp)
target_link_libraries(tambrel_ui_logic PUBLIC tambrel_core tambrel_code)
