#pragma once

#include <gtest/gtest.h>

#include <string>

#include "testsupport/IGraphicsScripted.h"
#include "tools/snapshot/EditorSnapshot.h"

// One stereo effect instance at 44.1 kHz with its offscreen editor, ready
// for parameter changes, blocks, drawing and mouse events.
class EditorFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(editor.Prepare(44100.0, 512, 2, &error)) << error;
    graphics = editor.Graphics();
    ASSERT_NE(graphics, nullptr);
  }

  void Set(const char* assignment) {
    std::string error;
    ASSERT_TRUE(editor.SetParameter(assignment, &error)) << error;
  }

  void Click(int x, int y) {
    graphics->MouseDown(x, y, IMouseMod(true));
    graphics->MouseUp(x, y, IMouseMod(true));
  }

  snapshot::EditorSnapshot editor;
  IGraphicsScripted* graphics = nullptr;
};
