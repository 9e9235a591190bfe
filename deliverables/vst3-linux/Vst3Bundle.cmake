# stratum_add_vst3_bundle(TARGET BUNDLE_NAME <Name> OUTPUT_DIR <dir>
#                         SOURCES a.cpp ... LIBS lib ...)
# Builds a Linux VST3 bundle <dir>/<Name>.vst3/Contents/<arch>-linux/<Name>.so
# from the module's own sources (its kVst3ModuleDescription and
# MakeEffectInstance, see adapters/vst3/Vst3ModuleHooks.h), this folder's
# module entry points and the adapter. Only the entry points are exported;
# the static libraries' symbols stay inside.
# Used from other folders too (the tests build a module of their own), so
# the paths below do not rely on this folder's variables.
function(stratum_add_vst3_bundle target)
  cmake_parse_arguments(B "" "BUNDLE_NAME;OUTPUT_DIR" "SOURCES;LIBS" ${ARGN})
  set(STRATUM_VST3_LINUX_DIR ${PROJECT_SOURCE_DIR}/deliverables/vst3-linux)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
    set(STRATUM_VST3_ARCH x86_64-linux)
  elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
    set(STRATUM_VST3_ARCH aarch64-linux)
  else()
    set(STRATUM_VST3_ARCH ${CMAKE_SYSTEM_PROCESSOR}-linux)
  endif()
  add_library(${target} MODULE ${B_SOURCES} ${STRATUM_VST3_LINUX_DIR}/Vst3ModuleEntry.cpp)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${B_BUNDLE_NAME}
    LIBRARY_OUTPUT_DIRECTORY ${B_OUTPUT_DIR}/${B_BUNDLE_NAME}.vst3/Contents/${STRATUM_VST3_ARCH})
  target_link_libraries(${target} PRIVATE ${B_LIBS} stratum_adapter_vst3)
  target_link_options(${target} PRIVATE
    -Wl,--version-script=${STRATUM_VST3_LINUX_DIR}/Vst3Exports.map
    -Wl,--exclude-libs,ALL)
  # Sanitizer runtimes resolve some symbols only in the host process.
  if(STRATUM_SANITIZE STREQUAL "")
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
    ${STRATUM_VST3_LINUX_DIR}/Vst3Exports.map)
endfunction()
