#pragma once

#include <string>

class RAS_IBitmap;

namespace snapshot {

// Writes a bitmap as an 8-bit RGB PNG (the editor is opaque; alpha is
// dropped). Answers false with a message in `error` when it cannot.
bool WriteBitmapPng(RAS_IBitmap* bitmap, const std::string& path, std::string* error);

}  // namespace snapshot
