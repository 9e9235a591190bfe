#include "editor/x11/X11TextWrap.h"

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Places one word on the lines, splitting it when it is wider than a line.
void AddWord(const std::string& word, int width,
             const std::function<int(const std::string&)>& measure,
             std::vector<std::string>& lines, std::string& line) {
  const std::string joined = line.empty() ? word : line + " " + word;
  if (measure(joined) <= width) {
    line = joined;
    return;
  }
  if (!line.empty()) lines.push_back(line);
  line.clear();
  if (measure(word) <= width) {
    line = word;
    return;
  }
  // One character at a time; each line keeps at least one, however narrow.
  for (size_t i = 0; i < word.size();) {
    size_t length = 1;
    while (i + length < word.size() && IsContinuationByte(word[i + length])) ++length;
    const std::string character = word.substr(i, length);
    if (!line.empty() && measure(line + character) > width) {
      lines.push_back(line);
      line.clear();
    }
    line += character;
    i += length;
  }
}

}  // namespace

std::vector<std::string> WrapText(const std::string& text, int width,
                                  const std::function<int(const std::string&)>& measure) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string paragraph = text.substr(start, end - start);
    if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();

    std::string line;
    size_t from = 0;
    while (from < paragraph.size()) {
      size_t to = paragraph.find(' ', from);
      if (to == std::string::npos) to = paragraph.size();
      if (to > from) AddWord(paragraph.substr(from, to - from), width, measure, lines, line);
      from = to + 1;
    }
    lines.push_back(line);  // an empty paragraph is an empty line
    start = end + 1;
  }
  return lines;
}
