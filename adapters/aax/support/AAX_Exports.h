#pragma once

#include <cstdint>

#include "adapters/aax/support/AAX.h"

class AAX_ICollection;
class AAX_IEffectDescriptor;

// The module's entry points, exported under these undecorated names, and the
// hook registration calls. The host calls them from one thread, in the order
// ACFStartup, ACFGetSDKVersion, ACFRegisterPlugin (then ACFRegisterComponent
// and ACFGetClassFactory as it needs), ACFCanUnloadNow, ACFShutdown. The
// host-unknown argument is kept for the format's signature; this library
// reads nothing from it.

#if defined(_WIN32) && !defined(_WIN64)
#define AAX_ACF_API __stdcall
#else
#define AAX_ACF_API
#endif

// The version of the support library's interfaces ACFGetSDKVersion answers:
// major in bits 48 and up, minor in bits 32 to 47.
constexpr uint64_t kAAX_SupportLibraryVersion = 0x0002000100000000ULL;

extern "C" {
using ACFStartupProc = AAX_Result(AAX_ACF_API*)(void* hostUnknown);
using ACFShutdownProc = AAX_Result(AAX_ACF_API*)(void* hostUnknown);
using ACFGetSDKVersionProc = AAX_Result(AAX_ACF_API*)(uint64_t* version);
// Describes the module; the collection stays the module's until ACFShutdown.
using ACFRegisterPluginProc = AAX_Result(AAX_ACF_API*)(void* hostUnknown,
                                                       AAX_ICollection** collection);
// The registered effect at index.
using ACFRegisterComponentProc = AAX_Result(AAX_ACF_API*)(void* hostUnknown, uint32_t index,
                                                          const AAX_IEffectDescriptor** effect);
// The creation procedure procID of the registered effect effectID.
using ACFGetClassFactoryProc = AAX_Result(AAX_ACF_API*)(void* hostUnknown, const char* effectID,
                                                        int32_t procID, void** proc);
// AAX_SUCCESS when no object of the module lives any more, else 1.
using ACFCanUnloadNowProc = AAX_Result(AAX_ACF_API*)(void* hostUnknown);
}

// ACFCanUnloadNow's answer while objects live.
constexpr AAX_Result kAAX_ACF_ObjectsAlive = 1;

// The hook a module provides: describe its effects into the collection.
// Answers the OR of every result of the description.
AAX_Result GetEffectDescriptions(AAX_ICollection* collection);
