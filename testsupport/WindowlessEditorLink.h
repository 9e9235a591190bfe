#pragma once

#include "core/IFxEditorLink.h"

// A base for test editors that only record what the plug-in pushes: an
// editor of no size that opens no window in any host.
class WindowlessEditorLink : public IFxEditorLink {
 public:
  int EditorWidth() const override { return 0; }
  int EditorHeight() const override { return 0; }
  bool AcceptsParentType(const char* /*type*/) const override { return false; }
  bool OpenEditorWindow(void* /*parent*/, const char* /*type*/,
                        IFxHostRunLoop* /*runLoop*/) override {
    return false;
  }
  void CloseEditorWindow() override {}
};
