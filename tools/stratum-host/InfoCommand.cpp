// stratum-host info BUNDLE: what the plug-in says about itself.
#include <cstdio>

#include "tools/stratum-host/Commands.h"
#include "tools/vst3host/TextConvert.h"

namespace stratumhost {

using Steinberg::Vst::ParameterInfo;

namespace {

std::string FlagNames(Steinberg::int32 flags) {
  static const struct {
    Steinberg::int32 flag;
    const char* name;
  } kNames[] = {{ParameterInfo::kCanAutomate, "automatable"}, {ParameterInfo::kIsReadOnly, "read-only"},
                {ParameterInfo::kIsWrapAround, "wrap-around"}, {ParameterInfo::kIsList, "list"},
                {ParameterInfo::kIsHidden, "hidden"},          {ParameterInfo::kIsProgramChange, "program-change"},
                {ParameterInfo::kIsBypass, "bypass"}};
  std::string names;
  for (const auto& entry : kNames) {
    if ((flags & entry.flag) == 0) continue;
    if (!names.empty()) names += ",";
    names += entry.name;
  }
  return names.empty() ? "-" : names;
}

void PrintBuses(const std::vector<BusDescription>& buses) {
  std::printf("buses: %zu\n", buses.size());
  for (const BusDescription& bus : buses) {
    std::printf("  %s %s \"%s\": %d channel%s, %s, %s\n", bus.audio ? "audio" : "event", bus.input ? "input" : "output",
                bus.name.c_str(), bus.channels, bus.channels == 1 ? "" : "s", bus.main ? "main" : "aux",
                bus.defaultActive ? "active by default" : "inactive by default");
  }
}

// What a VST2 effect says about itself: its record, names and parameters.
void PrintVst2Info(vst2host::Vst2Plugin& plugin) {
  std::printf("format: VST2\n");
  std::printf("effect: %s\n", plugin.EffectName().c_str());
  std::printf("vendor: %s\n", plugin.VendorName().c_str());
  std::printf("product: %s\n", plugin.ProductName().c_str());
  std::printf("version: %d\n", plugin.VendorVersion());
  const uint32_t id = static_cast<uint32_t>(plugin.UniqueId());
  char code[5] = {static_cast<char>(id >> 24), static_cast<char>(id >> 16), static_cast<char>(id >> 8),
                  static_cast<char>(id), '\0'};
  for (int i = 0; i < 4; ++i) {
    if (code[i] < 0x20 || code[i] > 0x7e) code[i] = '?';
  }
  std::printf("unique id: %s (0x%08x)\n", code, id);
  std::printf("flags: 0x%x\n", static_cast<unsigned>(plugin.Effect()->flags));
  std::printf("latency: %d samples\n", plugin.Latency());
  std::printf("channels: %d in, %d out\n", plugin.NumInputs(), plugin.NumOutputs());
  std::printf("programs: %d\n", plugin.NumPrograms());
  std::printf("parameters: %d\n", plugin.NumParameters());
  for (int i = 0; i < plugin.NumParameters(); ++i) {
    std::printf("  index %d \"%s\" label \"%s\" value %s (%s)\n", i, plugin.ParameterName(i).c_str(),
                plugin.ParameterLabel(i).c_str(), vst3host::FormatNumber(plugin.Normalized(i)).c_str(),
                plugin.ParameterDisplay(i).c_str());
  }
}

}  // namespace

int RunInfo(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    ReportError("usage: stratum-host info BUNDLE");
    return kExitUsage;
  }
  std::string error;
  std::unique_ptr<HostedPlugin> plugin = OpenHostedPlugin(args[0], &error);
  if (plugin == nullptr) {
    ReportError(error);
    return kExitFailed;
  }
  if (plugin->Vst2() != nullptr) {
    PrintVst2Info(*plugin->Vst2());
    std::fflush(stdout);
    return 0;
  }
  PluginInstance& instance = *plugin->Vst3();
  const ClassDescription& description = instance.Description();
  std::printf("class: %s\n", description.name.c_str());
  std::printf("vendor: %s\n", description.vendor.c_str());
  std::printf("version: %s\n", description.version.c_str());
  std::printf("categories: %s\n", description.subCategories.c_str());
  std::printf("sdk: %s\n", description.sdkVersion.c_str());
  std::printf("controller: %s\n", instance.SingleObject() ? "same object" : "separate object");
  std::printf("latency: %u samples\n", static_cast<unsigned>(instance.LatencySamples()));
  PrintBuses(instance.Buses());
  const std::vector<ParameterDescription>& parameters = instance.Parameters();
  std::printf("parameters: %zu\n", parameters.size());
  for (size_t i = 0; i < parameters.size(); ++i) {
    const ParameterDescription& p = parameters[i];
    const int index = static_cast<int>(i);
    std::printf("  id %u \"%s\" units \"%s\" flags 0x%x (%s) default %s (%s) steps %d value \"%s\"\n", p.id,
                p.title.c_str(), p.units.c_str(), static_cast<unsigned>(p.flags), FlagNames(p.flags).c_str(),
                vst3host::FormatNumber(p.defaultNormalized).c_str(), instance.ValueText(index, p.defaultNormalized).c_str(),
                p.stepCount, instance.HostValueText(index).c_str());
  }
  std::fflush(stdout);
  return 0;
}

}  // namespace stratumhost
