# The editor in layers, one static library per folder of src/, lowest first:
#
#   scenario <- render <- services <- window folders <- mainwindow <- app
#
# qrn_folder_library(DIR LIBS...) builds qrn_DIR from every source in src/DIR
# and links it to LIBS: the layer below, and for a window folder the other
# window folders it may use. A call in the wrong direction fails to link;
# tools/check_layers.py reads the same calls and checks every #include.
function(qrn_folder_library dir)
  file(GLOB files CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/src/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/src/${dir}/*.h
       ${CMAKE_SOURCE_DIR}/src/${dir}/*.qrc)
  add_library(qrn_${dir} STATIC ${files})
  set_target_properties(qrn_${dir} PROPERTIES AUTOMOC ON AUTORCC ON)
  target_include_directories(qrn_${dir} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(qrn_${dir} PUBLIC ${ARGN})
endfunction()
