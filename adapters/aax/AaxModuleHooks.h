#pragma once

class IFxAAX;

// What an AAX module built on this adapter provides, once per module: this
// factory hook, and the support library's GetEffectDescriptions
// (support/AAX_Exports.h), which describes the effect with
// DescribeIFxEffect (IFxAAXDescription.h). The shipping module defines them
// in its deliverable folder, test modules in their own sources.

// A new effect instance, as its adapter. The module's creation lock is held
// around the call; the caller owns the instance. Null when none can be made.
IFxAAX* MakeEffectInstance();
