#pragma once

class IFxVST;

// What a VST2 module built on this adapter provides, once per module: this
// factory hook. The shipping module defines it in its deliverable folder,
// test modules in their own sources; the adapter only calls it.

// A new effect instance, as its adapter. The module's creation lock is held
// around the call; the caller owns the instance. Null when none can be made.
IFxVST* MakeEffectInstance();
