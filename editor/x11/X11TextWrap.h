#pragma once

#include <functional>
#include <string>
#include <vector>

// Breaks text into lines no wider than `width`, as `measure` reports the
// width of a piece of text: at spaces where it can, inside a word that is
// wider than a line by itself (never inside a UTF-8 character), and at every
// line break of the text.
std::vector<std::string> WrapText(const std::string& text, int width,
                                  const std::function<int(const std::string&)>& measure);
