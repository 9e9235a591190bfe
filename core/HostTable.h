#pragma once

// Host identifiers, found from the host's product name. The numbers are
// fixed: ids 6, 10, 11 and 19 are never produced.
enum HostId {
  HostNotIdentified = -1,
  HostUnknown = 0,
  HostReaper = 1,
  HostProTools = 2,
  HostCubase = 3,
  HostNuendo = 4,
  HostCakewalk = 5,
  HostFruity = 7,
  HostSamplitude = 8,
  HostLive = 9,
  HostMelodyne = 12,
  HostVstManLib = 13,
  HostAuLab = 14,
  HostForte = 15,
  HostChainer = 16,
  HostAudition = 17,
  HostOrion = 18,
  HostSawStudio = 20,
  HostLogic = 21,
  HostGarageBand = 22,
  HostDigital = 23,
  HostStandalone = 24,
  HostAudioMulch = 25,
  HostPresonus = 26,
  HostVst3PluginTestHost = 27,
  HostArdour = 28,
};

// Lower-cases the name (its first 255 characters) and answers the id of the
// first table word it contains, in table order; HostUnknown when none does or
// the name is null.
int FindHostId(const char* hostProductName);
