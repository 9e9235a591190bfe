#pragma once

#include "public.sdk/source/vst/hosting/hostclasses.h"

namespace vst3host {

// The host application context handed to every plug-in object: the SDK's
// hosting class (messages, attribute lists, interface support) under this
// tool's own name. One object for the whole process, as plug-ins may keep it.
Steinberg::Vst::HostApplication& HostContext();

}  // namespace vst3host
