#include "tools/stratum-host/Options.h"

#include <cmath>

#include "tools/vst3host/TextConvert.h"

namespace stratumhost {

bool OptionReader::Value(const std::string& option, std::string* value, std::string* error) {
  if (Done()) {
    *error = option + " needs a value";
    return false;
  }
  *value = Next();
  return true;
}

bool OptionReader::IntegerValue(const std::string& option, int low, int high, int* value, std::string* error) {
  std::string text;
  if (!Value(option, &text, error)) return false;
  double number = 0.0;
  if (!vst3host::ParseNumber(text, &number) || number != std::floor(number) || number < low || number > high) {
    *error = option + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
             ", not '" + text + "'";
    return false;
  }
  *value = static_cast<int>(number);
  return true;
}

bool OptionReader::NumberValue(const std::string& option, double low, double high, double* value,
                               std::string* error) {
  std::string text;
  if (!Value(option, &text, error)) return false;
  double number = 0.0;
  if (!vst3host::ParseNumber(text, &number) || number < low || number > high) {
    *error = option + " takes a number from " + vst3host::FormatNumber(low) + " to " + vst3host::FormatNumber(high) + ", not '" +
             text + "'";
    return false;
  }
  *value = number;
  return true;
}

bool OptionReader::Positional(const std::string& arg, std::string* slot, std::string* error) {
  if (arg.rfind("--", 0) == 0) {
    *error = "unknown option '" + arg + "'";
    return false;
  }
  if (!slot->empty()) {
    *error = "unexpected argument '" + arg + "'";
    return false;
  }
  *slot = arg;
  return true;
}

}  // namespace stratumhost
