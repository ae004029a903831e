# The engine's layers, bottom-up, with the folders each may include from.
# A layer's sources may include their own folder's headers and those of the
# layers listed for it, never a layer above, and never Qt.
set(ZANTRO_LAYERS dsp design platform document plot form)
set(ZANTRO_LAYER_dsp_USES dsp)
set(ZANTRO_LAYER_design_USES dsp design)
set(ZANTRO_LAYER_platform_USES platform)
set(ZANTRO_LAYER_document_USES dsp design platform document)
set(ZANTRO_LAYER_plot_USES dsp design platform plot)
set(ZANTRO_LAYER_form_USES dsp design platform document plot form)
set(ZANTRO_LAYER_cli_USES dsp design platform document plot form cli)
# The Python module designs from values through the form's host-free mapping
# of fields to requests (form/FormRequest.h), and reads and writes documents
# and exports; it drives no form.
set(ZANTRO_LAYER_python_USES dsp design platform document plot form python)
set(ZANTRO_ALL_FOLDERS dsp design platform document plot form cli python app)

# Fails with a message naming the file when a source of layer includes a
# project header from a folder the layer may not use, or a Qt header.
function(zantro_check_layer root layer)
  file(GLOB sources ${root}/${layer}/*.cpp ${root}/${layer}/*.h)
  foreach(src IN LISTS sources)
    file(STRINGS ${src} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]Q[A-Za-z]")
        message(FATAL_ERROR "${src} includes Qt (${line}); Qt belongs in app/ only")
      endif()
      if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([A-Za-z_]+)/")
        set(folder ${CMAKE_MATCH_1})
        list(FIND ZANTRO_ALL_FOLDERS ${folder} is_project_folder)
        list(FIND ZANTRO_LAYER_${layer}_USES ${folder} allowed)
        if(is_project_folder GREATER -1 AND allowed EQUAL -1)
          message(FATAL_ERROR "${src} includes a header of ${folder}/, a layer above ${layer}/ (${line})")
        endif()
      endif()
    endforeach()
  endforeach()
endfunction()
