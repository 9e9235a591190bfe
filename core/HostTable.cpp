#include "core/HostTable.h"

#include <cstring>
#include <string>

namespace {

struct HostWord {
  const char* word;
  int id;
};

// Searched in this order: the first word found in the name wins, so "live"
// catches any name that none of the words before it matched.
const HostWord kHostWords[] = {
    {"cubase", HostCubase},
    {"reaper", HostReaper},
    {"nuendo", HostNuendo},
    {"cakewalk", HostCakewalk},
    {"samplitude", HostSamplitude},
    {"fruity", HostFruity},
    {"live", HostLive},
    {"melodyne", HostMelodyne},
    {"vstmanlib", HostVstManLib},
    {"aulab", HostAuLab},
    {"garageband", HostGarageBand},
    {"forte", HostForte},
    {"chainer", HostChainer},
    {"audition", HostAudition},
    {"orion", HostOrion},
    {"sawstudio", HostSawStudio},
    {"logic", HostLogic},
    {"digital", HostDigital},
    {"audiomulch", HostAudioMulch},
    {"presonus", HostPresonus},
    {"vst3plugintesthost", HostVst3PluginTestHost},
    {"protools", HostProTools},
    {"ardour", HostArdour},
    {"standalone", HostStandalone},
};

const size_t kMaxNameCharacters = 255;

}  // namespace

int FindHostId(const char* hostProductName) {
  if (hostProductName == nullptr) return HostUnknown;
  std::string lowered(hostProductName, strnlen(hostProductName, kMaxNameCharacters));
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  for (const HostWord& entry : kHostWords) {
    if (lowered.find(entry.word) != std::string::npos) return entry.id;
  }
  return HostUnknown;
}
