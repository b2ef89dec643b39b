# The windows' behaviour over any view, and on Windows the dialog program
# tkwEncoder (the command-line program of the same name is the Linux build's).
add_library(tkw_encoder_windows STATIC EncoderMainWindow.cpp ProgressDialog.cpp SettingsDialog.cpp)
target_link_libraries(tkw_encoder_windows PUBLIC tkw_encoder_app)
if(WIN32)
  include(${PROJECT_SOURCE_DIR}/cmake/DialogPrograms.cmake)
  tkw_add_dialog_program(tkwEncoder RC resources/tkwEncoder.rc SOURCES win32/tkwEncoderWinMain.cpp
                         LIBS tkw_encoder_windows
                         DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/WaveFile103.bmp
                                 ${CMAKE_CURRENT_SOURCE_DIR}/resources/WaveFolder110.bmp
                                 ${CMAKE_CURRENT_SOURCE_DIR}/resources/TkwFolder109.ico)
endif()
