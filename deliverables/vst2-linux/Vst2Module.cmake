# stratum_add_vst2_module(TARGET OUTPUT_NAME <Name> OUTPUT_DIR <dir>
#                         SOURCES a.cpp ... LIBS lib ...)
# Builds a Linux VST2 module <dir>/<Name>.so from the module's own sources
# (its MakeEffectInstance), the entry points and the adapter. Only
# VSTPluginMain and main are exported (Vst2Exports.map); the static
# libraries' symbols stay inside; no symbol is left undefined. The tests'
# own VST2 module is built by it too, so the paths below do not rely on the
# calling folder.
function(stratum_add_vst2_module target)
  cmake_parse_arguments(M "" "OUTPUT_NAME;OUTPUT_DIR" "SOURCES;LIBS" ${ARGN})
  set(adapter_dir ${PROJECT_SOURCE_DIR}/adapters/vst2)
  set(module_dir ${PROJECT_SOURCE_DIR}/deliverables/vst2-linux)
  # The module plumbing is compiled into each module, so the factory hook it
  # calls resolves from the libraries linked after it.
  add_library(${target} MODULE ${M_SOURCES} ${module_dir}/Vst2ModuleEntry.cpp
    ${adapter_dir}/Vst2ModuleFactory.cpp)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${M_OUTPUT_NAME}
    LIBRARY_OUTPUT_DIRECTORY ${M_OUTPUT_DIR})
  target_compile_definitions(${target} PRIVATE STRATUM_ADAPTER_CLASS=IFxVST)
  target_link_libraries(${target} PRIVATE ${M_LIBS} stratum_adapter_vst2)
  target_link_options(${target} PRIVATE
    -Wl,--version-script=${module_dir}/Vst2Exports.map
    -Wl,--exclude-libs,ALL)
  # Sanitizer runtimes resolve some symbols only in the host process.
  if(STRATUM_SANITIZE STREQUAL "")
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${module_dir}/Vst2Exports.map)
endfunction()
