#pragma once

#include <memory>
#include <string>

#include "tools/stratum-host/HostedPlugin.h"

namespace stratumhost {

// One opener per format (HostedVst3Plugin.cpp, HostedVst2Plugin.cpp); null
// with a one-line reason when the path holds no plug-in of that format.
std::unique_ptr<HostedPlugin> OpenVst3Plugin(const std::string& path, std::string* error);
std::unique_ptr<HostedPlugin> OpenVst2Plugin(const std::string& path, std::string* error);

}  // namespace stratumhost
