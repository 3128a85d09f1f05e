# The JPEG glue over the 8-bit and the 12-bit library builds, and the JPEG reader.
target_sources(readers PRIVATE
  jpeg/jpeg_glue.cpp jpeg/jpeg_glue8.cpp jpeg/jpeg_glue12.cpp
  jpeg/jpeg_icc_profile.cpp jpeg/jpeg_app13_table.cpp jpeg/jpeg_scale.cpp jpeg/jpeg_decoded_lines.cpp
  jpeg/jpeg_reader.cpp jpeg/jpeg_thumbnail.cpp)
if(ZIR_WIN32)
  target_sources(readers PRIVATE win32/jpeg_message_box_win32.cpp win32/jpeg_temp_files_win32.cpp
                                 win32/jpeg_thumbnail_draw_win32.cpp)
else()
  target_sources(readers PRIVATE host/jpeg_message_box_host.cpp host/jpeg_temp_files_posix.cpp
                                 host/jpeg_thumbnail_draw_host.cpp)
endif()
target_link_libraries(readers PUBLIC zir_jpeg8 zir_jpeg12)
