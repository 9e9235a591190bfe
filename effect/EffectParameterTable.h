#pragma once

#include <array>

#include "effect/ParamIds.h"

class IFxBase;

// The effect's parameter table, free of any adapter: the effect class of
// every format and the test stand-in set their parameters up here, and the
// group link's share flags follow the one rule below.

// Sets up the 31 parameters (kinds, ranges, defaults, texts) of a plug-in
// made with kNumParams parameters.
void SetUpEffectParameters(IFxBase& plugin);

// True for the group switches (kGroupFirstSwitch to kNumParams - 1).
bool IsGroupSwitch(int paramIdx);

// Which parameters follow the group: parameter k (0 to 14) while its group
// switch kGroupFirstSwitch + k is on, the group selector never, the switches
// themselves always.
std::array<bool, kNumParams> EffectLinkMask(const IFxBase& plugin);
