#pragma once

class IFxVST;

// Defined by each VST2 module (the effect, or a test effect): a new effect
// instance on this adapter. The caller owns it and holds the module's
// creation lock around the call. Null when the instance cannot be made.
IFxVST* MakeEffectInstance();
