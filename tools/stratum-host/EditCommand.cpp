// stratum-host edit: a plug-in's editor in a window of its own, under this
// host's run loop, with audio running on another thread so its meters move.
#include <cstdio>

#include "pluginterfaces/gui/iplugview.h"
#include "tools/stratum-host/Commands.h"
#include "tools/stratum-host/EditAudio.h"
#include "tools/stratum-host/EditorHostWindow.h"
#include "tools/stratum-host/InputScript.h"
#include "tools/stratum-host/Options.h"
#include "tools/vst3host/HostPlugFrame.h"
#include "tools/vst3host/LoadedPlugin.h"
#include "tools/vst3host/HostRunLoop.h"

using namespace Steinberg;

namespace stratumhost {

namespace {

struct EditOptions {
  std::string bundle;
  std::string input;
  std::string screenshot;
  int frames = 25;  // editor ticks before the screenshot (one second)
  int pauseMs = 300;
  InputScript script;
};

bool ParseEditOptions(const std::vector<std::string>& args, EditOptions* options, std::string* error) {
  OptionReader reader(args);
  while (!reader.Done()) {
    const std::string arg = reader.Next();
    std::string value;
    InputScript::Action action;
    if (arg == "--in") {
      if (!reader.Value(arg, &options->input, error)) return false;
    } else if (arg == "--screenshot") {
      if (!reader.Value(arg, &options->screenshot, error)) return false;
    } else if (arg == "--frames") {
      if (!reader.IntegerValue(arg, 1, 100000, &options->frames, error)) return false;
    } else if (arg == "--pause") {
      if (!reader.IntegerValue(arg, 0, 60000, &options->pauseMs, error)) return false;
    } else if (arg == "--click") {
      if (!reader.Value(arg, &value, error) || !InputScript::ParsePoint(value, &action, error)) return false;
      options->script.Add(action);
    } else if (arg == "--drag") {
      if (!reader.Value(arg, &value, error) || !InputScript::ParseDrag(value, &action, error)) return false;
      options->script.Add(action);
    } else if (arg == "--type" || arg == "--key") {
      if (!reader.Value(arg, &action.text, error)) return false;
      action.kind = arg == "--type" ? InputScript::Action::kType : InputScript::Action::kKey;
      options->script.Add(action);
    } else if (!OptionReader::Positional(arg, &options->bundle, error)) {
      return false;
    }
  }
  if (options->bundle.empty()) {
    *error = "usage: stratum-host edit BUNDLE [--in FILE] [--screenshot FILE.png] [options] (see --help)";
    return false;
  }
  return true;
}

// Everything the session opened, closed in reverse order.
struct EditSession {
  vst3host::HostRunLoop loop;
  vst3host::HostPlugFrame frame{&loop};
  EditorHostWindow window;
  EditAudio audio;
  vst3host::LoadedPlugin plugin;
  IPlugView* view = nullptr;
  bool attached = false;

  ~EditSession() {
    if (view) {
      if (attached) view->removed();
      view->setFrame(nullptr);
      view->release();
    }
    audio.Stop();
    loop.unregisterEventHandler(&window);
  }
};

}  // namespace

int RunEdit(const std::vector<std::string>& args) {
  EditOptions options;
  std::string error;
  if (!ParseEditOptions(args, &options, &error)) {
    ReportError(error);
    return kExitUsage;
  }

  EditSession session;
  if (!options.input.empty() && !session.audio.LoadFile(options.input, &error)) {
    ReportError(error);
    return kExitFailed;
  }
  if (!vst3host::LoadPlugin(options.bundle, &session.plugin, &error)) {
    ReportError(error);
    return kExitFailed;
  }
  vst3host::PluginInstance& instance = *session.plugin.instance;
  if (!instance.Prepare(session.audio.Channels(), session.audio.SampleRate(), 256, false, false, &error)) {
    ReportError(error);
    return kExitFailed;
  }
  session.view = instance.Controller()->createView(Vst::ViewType::kEditor);
  if (!session.view) {
    ReportError(options.bundle + ": the plug-in has no editor");
    return kExitFailed;
  }
  if (session.view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID) != kResultTrue) {
    ReportError(options.bundle + ": the plug-in's editor cannot embed in an X11 window");
    return kExitFailed;
  }
  ViewRect size;
  if (session.view->getSize(&size) != kResultOk || size.getWidth() <= 0 || size.getHeight() <= 0) {
    ReportError(options.bundle + ": the editor reports no size");
    return kExitFailed;
  }
  if (!session.window.Open(size.getWidth(), size.getHeight(), "stratum-host: " + instance.Description().name,
                           &error)) {
    ReportError(error);
    return kExitFailed;
  }
  session.loop.registerEventHandler(&session.window, session.window.ConnectionFd());
  session.view->setFrame(&session.frame);
  void* parent = reinterpret_cast<void*>(static_cast<uintptr_t>(session.window.Window()));
  if (session.view->attached(parent, kPlatformTypeX11EmbedWindowID) != kResultOk) {
    ReportError(options.bundle + ": the editor could not open its window");
    return kExitFailed;
  }
  session.attached = true;
  session.audio.Start(&instance);

  // Input starts once the editor has painted itself.
  session.loop.RunUntil([&] { return session.loop.TimerCalls() >= 5 || session.window.CloseRequested(); }, 3000);
  if (!options.script.Empty() && !options.script.Start(session.window.Window(), options.pauseMs, &error)) {
    ReportError(error);
    return kExitFailed;
  }

  if (options.screenshot.empty()) {
    while (!session.window.CloseRequested()) session.loop.RunOnce(100);
    return 0;
  }
  while (!options.script.Done() && !options.script.Empty()) session.loop.RunOnce(20);
  const long from = session.loop.TimerCalls();
  // The run loop's timers are the editor's; a plug-in without one gets a
  // second of wall-clock time instead.
  session.loop.RunUntil([&] { return session.loop.TimerCalls() >= from + options.frames; },
                        options.frames * 40 + 1000);
  if (!session.window.Screenshot(options.screenshot, &error)) {
    ReportError(error);
    return kExitFailed;
  }
  std::printf("%s: %d x %d after %ld editor frames, %ld audio blocks\n", options.screenshot.c_str(),
              size.getWidth(), size.getHeight(), session.loop.TimerCalls(), session.audio.Blocks());
  return 0;
}

}  // namespace stratumhost
