# The Win32 about box, advertisement window and the FormsPort that owns them with the settings
# dialog: horalia_windows_win32.
add_library(horalia_windows_win32 STATIC
            ${CMAKE_CURRENT_LIST_DIR}/about_window.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ad_window_win32.cpp
            ${CMAKE_CURRENT_LIST_DIR}/browser_host.cpp
            ${CMAKE_CURRENT_LIST_DIR}/shell_url_opener.cpp
            ${CMAKE_CURRENT_LIST_DIR}/secondary_windows.cpp)
target_link_libraries(horalia_windows_win32 PUBLIC horalia_extras horalia_settings_win32
                      horalia_common_platform ole32 oleaut32 uuid shell32 comctl32 gdi32 user32)
