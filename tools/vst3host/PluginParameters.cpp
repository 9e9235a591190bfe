// The parameter side of PluginInstance: finding parameters by title, reading
// values given as numbers or texts, and the host's view of their values.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "tools/vst3host/PluginInstance.h"
#include "tools/vst3host/TextConvert.h"

namespace vst3host {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// Lists longer than this are not spelled out in an error message.
constexpr int kMaxListedChoices = 32;

}  // namespace

int PluginInstance::FindParameter(const std::string& title) const {
  for (size_t i = 0; i < mParameters.size(); ++i) {
    if (mParameters[i].title == title) return static_cast<int>(i);
  }
  for (size_t i = 0; i < mParameters.size(); ++i) {
    if (SameIgnoringCase(mParameters[i].title, title) ||
        (!mParameters[i].shortTitle.empty() && SameIgnoringCase(mParameters[i].shortTitle, title))) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string PluginInstance::ValueText(int index, double normalized) {
  String128 text = {};
  if (mController->getParamStringByValue(mParameters[index].id, normalized, text) == kResultOk) {
    return Utf16ToUtf8(text);
  }
  return FormatNumber(normalized);
}

bool PluginInstance::ParseValue(int index, const std::string& text, double* normalized, std::string* error) {
  const ParameterDescription& parameter = mParameters[index];
  const std::string quotedTitle = "'" + parameter.title + "'";
  if ((parameter.flags & ParameterInfo::kIsReadOnly) != 0) {
    *error = "parameter " + quotedTitle + " is read-only";
    return false;
  }
  auto fromText = [&](double* value) {
    std::u16string wide = Utf8ToUtf16(text);
    std::vector<TChar> buffer(wide.begin(), wide.end());
    buffer.push_back(0);
    double parsed = 0.0;
    if (mController->getParamValueByString(parameter.id, buffer.data(), parsed) != kResultOk) return false;
    if (!std::isfinite(parsed)) return false;
    *value = parsed;
    return true;
  };
  auto inRange = [&](double value) {
    if (value >= 0.0 && value <= 1.0) return true;
    *error = "value '" + text + "' is out of range for " + quotedTitle;
    return false;
  };

  // List entries are matched as texts first, so that an entry that looks like
  // a number is not taken for an index.
  const bool isList = (parameter.flags & ParameterInfo::kIsList) != 0;
  double value = 0.0;
  if (isList && fromText(&value)) {
    if (!inRange(value)) return false;
    *normalized = value;
    return true;
  }
  double plain = 0.0;
  if (ParseNumber(text, &plain)) {
    const double atZero = mController->normalizedParamToPlain(parameter.id, 0.0);
    const double atOne = mController->normalizedParamToPlain(parameter.id, 1.0);
    const double low = std::min(atZero, atOne), high = std::max(atZero, atOne);
    const double tolerance = 1e-9 * std::max(1.0, high - low);
    if (plain < low - tolerance || plain > high + tolerance) {
      *error = "value " + text + " is out of range for " + quotedTitle + " (" + FormatNumber(low) + " to " +
               FormatNumber(high) + ")";
      return false;
    }
    *normalized = std::clamp(mController->plainParamToNormalized(parameter.id, plain), 0.0, 1.0);
    return true;
  }
  if (!isList && fromText(&value)) {
    if (!inRange(value)) return false;
    *normalized = value;
    return true;
  }
  *error = "'" + text + "' is not a value of " + quotedTitle;
  if (isList && parameter.stepCount > 0 && parameter.stepCount < kMaxListedChoices) {
    *error += " (one of:";
    for (int32 step = 0; step <= parameter.stepCount; ++step) {
      *error += (step == 0 ? " " : ", ") + ValueText(index, static_cast<double>(step) / parameter.stepCount);
    }
    *error += ")";
  }
  return false;
}

void PluginInstance::SetParameter(int index, double normalized) {
  const ParamID id = mParameters[index].id;
  mController->setParamNormalized(id, normalized);
  mHostValues[index] = normalized;
  mPendingEdits.push_back(HostComponentHandler::Edit{id, normalized});
}

}  // namespace vst3host
