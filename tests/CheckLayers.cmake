# Run as a test: fails when a layer includes a header of a layer above it or Qt.
include(${ROOT}/cmake/Layers.cmake)
foreach(layer IN LISTS ZANTRO_LAYERS ITEMS cli python)
  zantro_check_layer(${ROOT} ${layer})
endforeach()
