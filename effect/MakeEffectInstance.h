#pragma once

// The module entry points of every format build their instances through
// this one function; it is compiled with the effect for the format's adapter
// (STRATUM_ADAPTER_CLASS is the adapter class the effect derives from).
class STRATUM_ADAPTER_CLASS;

// A new effect instance, as its adapter. The caller owns it and holds the
// format's creation lock around the call.
STRATUM_ADAPTER_CLASS* MakeEffectInstance();
