# The Win32 window toolkit: windows, events, controls, menus, clipboard, fonts,
# images.
add_library(velkor_toolkit STATIC
  ${CMAKE_CURRENT_LIST_DIR}/events.cpp
  ${CMAKE_CURRENT_LIST_DIR}/windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dpi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brushes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kind_frame_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kind_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kind_drop_down_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kind_text_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kind_address_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kind_push_button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kind_text_area.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kind_report_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kind_panel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kind_image_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kind_link_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kind_progress_bar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kind_block_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jobs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/menus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fonts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/launch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/images.cpp
  ${CMAKE_CURRENT_LIST_DIR}/toolkit_start.cpp)
target_link_libraries(velkor_toolkit PUBLIC velkor_base velkor_imaging velkor_net
  user32 gdi32 comctl32)
