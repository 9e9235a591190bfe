#include "tools/vst3host/StateStream.h"

#include "public.sdk/source/common/memorystream.h"

namespace vst3host {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// IComponent and IEditController share the state calls but no base class.
template <typename Object>
bool ReadFrom(Object& object, std::vector<uint8_t>* bytes) {
  MemoryStream stream;
  if (object.getState(&stream) != kResultOk) return false;
  const uint8_t* data = reinterpret_cast<const uint8_t*>(stream.getData());
  bytes->assign(data, data + stream.getSize());
  return true;
}

template <typename Object>
tresult WriteTo(Object& object, const std::vector<uint8_t>& bytes) {
  MemoryStream stream;
  int32 written = 0;
  if (!bytes.empty()) {
    std::vector<uint8_t> copy = bytes;  // the stream's write takes a mutable buffer
    stream.write(copy.data(), static_cast<int32>(copy.size()), &written);
  }
  stream.seek(0, IBStream::kIBSeekSet, nullptr);
  return object.setState(&stream);
}

}  // namespace

bool ReadStateStream(IComponent& component, std::vector<uint8_t>* bytes) { return ReadFrom(component, bytes); }

bool ReadStateStream(IEditController& controller, std::vector<uint8_t>* bytes) {
  return ReadFrom(controller, bytes);
}

tresult WriteStateStream(IComponent& component, const std::vector<uint8_t>& bytes) {
  return WriteTo(component, bytes);
}

tresult WriteStateStream(IEditController& controller, const std::vector<uint8_t>& bytes) {
  return WriteTo(controller, bytes);
}

}  // namespace vst3host
