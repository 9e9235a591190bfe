# Libraries over Debian's copy of the VST3 SDK (only its VST3_SDK folder is
# used). Included once from the top CMakeLists.txt.
#   stratum_vst3sdk_base     interfaces, base classes, interface IDs (plug-ins and hosts)
#   stratum_vst3sdk_plugin   plug-in side support: buses, parameters, edit controller, views
#   stratum_vst3sdk_hosting  host side support: host application context, attribute lists
set(STRATUM_VST3_SDK_DIR
  /usr/share/juce/modules/juce_audio_processors/format_types/VST3_SDK
  CACHE PATH "VST3 SDK folder")

if(NOT EXISTS ${STRATUM_VST3_SDK_DIR}/pluginterfaces/base/funknown.h)
  message(STATUS "VST3 SDK not found at ${STRATUM_VST3_SDK_DIR}; VST3 targets are skipped")
  return()
endif()
set(STRATUM_HAVE_VST3_SDK ON)

set(_sdk ${STRATUM_VST3_SDK_DIR})
add_library(stratum_vst3sdk_base STATIC
  ${_sdk}/pluginterfaces/base/conststringtable.cpp
  ${_sdk}/pluginterfaces/base/coreiids.cpp
  ${_sdk}/pluginterfaces/base/funknown.cpp
  ${_sdk}/pluginterfaces/base/ustring.cpp
  ${_sdk}/base/source/baseiids.cpp
  ${_sdk}/base/source/fbuffer.cpp
  ${_sdk}/base/source/fdebug.cpp
  ${_sdk}/base/source/fobject.cpp
  ${_sdk}/base/source/fstreamer.cpp
  ${_sdk}/base/source/fstring.cpp
  ${_sdk}/base/source/updatehandler.cpp
  ${_sdk}/base/thread/source/flock.cpp
  ${_sdk}/public.sdk/source/common/memorystream.cpp
  ${_sdk}/public.sdk/source/vst/vstinitiids.cpp)
target_include_directories(stratum_vst3sdk_base SYSTEM PUBLIC ${_sdk})
target_compile_definitions(stratum_vst3sdk_base PUBLIC $<$<CONFIG:Debug>:DEVELOPMENT=1> $<$<NOT:$<CONFIG:Debug>>:RELEASE=1>)
# Third-party code: its warnings are not ours to fix.
target_compile_options(stratum_vst3sdk_base PRIVATE -w)
target_link_libraries(stratum_vst3sdk_base PUBLIC Threads::Threads)

add_library(stratum_vst3sdk_plugin STATIC
  ${_sdk}/public.sdk/source/common/pluginview.cpp
  ${_sdk}/public.sdk/source/vst/vstbus.cpp
  ${_sdk}/public.sdk/source/vst/vstcomponent.cpp
  ${_sdk}/public.sdk/source/vst/vstcomponentbase.cpp
  ${_sdk}/public.sdk/source/vst/vsteditcontroller.cpp
  ${_sdk}/public.sdk/source/vst/vstparameters.cpp)
target_compile_options(stratum_vst3sdk_plugin PRIVATE -w)
target_link_libraries(stratum_vst3sdk_plugin PUBLIC stratum_vst3sdk_base)

add_library(stratum_vst3sdk_hosting STATIC
  ${_sdk}/public.sdk/source/vst/hosting/hostclasses.cpp
  ${_sdk}/public.sdk/source/vst/hosting/pluginterfacesupport.cpp)
target_compile_options(stratum_vst3sdk_hosting PRIVATE -w)
target_link_libraries(stratum_vst3sdk_hosting PUBLIC stratum_vst3sdk_base)
