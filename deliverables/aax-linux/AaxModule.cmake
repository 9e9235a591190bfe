# stratum_add_aax_module(TARGET BUNDLE_NAME <Name> OUTPUT_DIR <dir>
#                        SOURCES a.cpp ... LIBS lib ...)
# Builds a Linux AAX module <dir>/<Name>.aaxplugin/Contents/<arch>-linux/<Name>.aaxplugin
# from the module's own sources (its MakeEffectInstance and
# GetEffectDescriptions), the support library's ACF entry points and the
# adapter. Only the seven entry points are exported (AaxExports.map); the
# static libraries' symbols stay inside; no symbol is left undefined.
function(stratum_add_aax_module target)
  cmake_parse_arguments(M "" "BUNDLE_NAME;OUTPUT_DIR" "SOURCES;LIBS" ${ARGN})
  set(module_dir ${PROJECT_SOURCE_DIR}/deliverables/aax-linux)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
    set(arch x86_64-linux)
  else()
    set(arch ${CMAKE_SYSTEM_PROCESSOR}-linux)
  endif()
  add_library(${target} MODULE ${M_SOURCES} ${STRATUM_AAX_ENTRY_SOURCE})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    SUFFIX ".aaxplugin"
    OUTPUT_NAME ${M_BUNDLE_NAME}
    LIBRARY_OUTPUT_DIRECTORY ${M_OUTPUT_DIR}/${M_BUNDLE_NAME}.aaxplugin/Contents/${arch})
  target_compile_definitions(${target} PRIVATE STRATUM_ADAPTER_CLASS=IFxAAX)
  target_link_libraries(${target} PRIVATE ${M_LIBS} stratum_adapter_aax)
  target_link_options(${target} PRIVATE
    -Wl,--version-script=${module_dir}/AaxExports.map
    -Wl,--exclude-libs,ALL)
  # Sanitizer runtimes resolve some symbols only in the host process.
  if(STRATUM_SANITIZE STREQUAL "")
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${module_dir}/AaxExports.map)
endfunction()
