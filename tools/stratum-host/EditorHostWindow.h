#pragma once

#include <string>

#include "pluginterfaces/gui/iplugview.h"

struct _XDisplay;

namespace stratumhost {

// The top-level window `stratum-host edit` shows a plug-in's editor in, on
// a connection of its own. Its events are read through the host run loop
// (it is an event handler for the connection); closing the window through
// the window manager ends the session.
class EditorHostWindow : public Steinberg::Linux::IEventHandler {
 public:
  EditorHostWindow() = default;
  ~EditorHostWindow();
  EditorHostWindow(const EditorHostWindow&) = delete;
  EditorHostWindow& operator=(const EditorHostWindow&) = delete;

  // Opens the display and maps a window of the size with the title. False
  // with a reason when there is no display.
  bool Open(int width, int height, const std::string& title, std::string* error);
  // The X window id, as the plug-in's parent.
  unsigned long Window() const { return mWindow; }
  int ConnectionFd() const;
  bool CloseRequested() const { return mCloseRequested; }
  // Writes what the window shows (the editor inside it) as an opaque PNG.
  bool Screenshot(const std::string& path, std::string* error);

  void PLUGIN_API onFDIsSet(Steinberg::Linux::FileDescriptor fd) override;
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

 private:
  _XDisplay* mDisplay = nullptr;
  unsigned long mWindow = 0;
  unsigned long mDeleteAtom = 0;
  int mWidth = 0;
  int mHeight = 0;
  bool mCloseRequested = false;
};

}  // namespace stratumhost
