#pragma once

#include <string>
#include <vector>

namespace stratumhost {

// Walks a command's arguments: positionals and "--name [value]" options.
class OptionReader {
 public:
  explicit OptionReader(const std::vector<std::string>& args) : mArgs(args) {}

  bool Done() const { return mNext >= mArgs.size(); }
  const std::string& Next() { return mArgs[mNext++]; }
  // The value after the option just read; false (and error set) when missing.
  bool Value(const std::string& option, std::string* value, std::string* error);
  bool IntegerValue(const std::string& option, int low, int high, int* value, std::string* error);
  bool NumberValue(const std::string& option, double low, double high, double* value, std::string* error);
  // For an argument that is none of the command's options: fills slot when it
  // is the first positional; an unknown option or a second positional is an error.
  static bool Positional(const std::string& arg, std::string* slot, std::string* error);

 private:
  const std::vector<std::string>& mArgs;
  size_t mNext = 0;
};

}  // namespace stratumhost
