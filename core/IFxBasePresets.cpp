// The state side of IFxBase: the parameter block, presets and preset banks,
// and the framework chunk header. Chunks come from host project files and
// may be short or damaged: every read is bounds-checked by StateChunk and a
// failed read ends the reading with position -1.
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "core/IFxBase.h"

namespace {

const char kUserPresetText[] = "user preset";

}  // namespace

bool IFxBase::SaveState(StateChunk& chunk) { return SerializeParams(chunk); }

int IFxBase::LoadState(const StateChunk& chunk, int position) {
  return UnserializeParams(chunk, position);
}

bool IFxBase::SerializeParams(StateChunk& chunk) {
  platform::LockGuard guard(mLock);
  for (const std::unique_ptr<IFxParam>& param : mParams) chunk.PutDouble(param->Value());
  return !chunk.Empty();
}

int IFxBase::UnserializeParams(const StateChunk& chunk, int position) {
  platform::LockGuard guard(mLock);
  for (int i = 0; i < NumParams() && position >= 0; ++i) {
    double value = 0.0;
    position = chunk.GetDouble(&value, position);
    if (position < 0) value = 0.0;  // the parameter where the data ends
    mParams[i]->SetValueClamped(value);
  }
  NotifyAllParams(SourceRecall);
  return position;
}

const PresetSlot* IFxBase::GetPreset(int index) const {
  if (index < 0 || index >= NumPresets()) return nullptr;
  return mPresets[index].get();
}

void IFxBase::CreateDefaultPresets(const char* name, int count) {
  const char* presetName = (name != nullptr && name[0] != '\0') ? name : "Empty";
  for (int repetition = 0; repetition < count; ++repetition) {
    for (std::unique_ptr<PresetSlot>& preset : mPresets) {
      if (preset->initialized) continue;
      preset->initialized = true;
      preset->SetName(presetName);
      // A preset a bank marked free may still hold its old bytes.
      preset->state.Clear();
      SaveState(preset->state);
      break;
    }
  }
}

bool IFxBase::SelectPreset(int index) {
  if (index < 0 || index >= NumPresets()) return false;
  PresetSlot& preset = *mPresets[index];
  bool restored;
  if (preset.initialized) {
    restored = LoadState(preset.state, 0) > 0;
  } else {
    // A free preset captures the current state under a fresh user name.
    preset.initialized = true;
    int userPresets = 0;
    for (const std::unique_ptr<PresetSlot>& other : mPresets) {
      if (strstr(other->Name(), kUserPresetText) != nullptr) ++userPresets;
    }
    char name[PresetSlot::kNameSize];
    snprintf(name, sizeof(name), "%s %d", kUserPresetText, userPresets + 1);
    preset.SetName(name);
    preset.state.Clear();
    restored = SaveState(preset.state);
  }
  if (restored) {
    mCurrentPreset = index;
    HostChangedPresets();
    RefreshParamControls();
  }
  return restored;
}

const char* IFxBase::PresetName(int index) const {
  const PresetSlot* preset = GetPreset(index);
  return preset != nullptr ? preset->Name() : "";
}

void IFxBase::ModifyCurrentPreset(const char* name) {
  if (mCurrentPreset < 0 || mCurrentPreset >= NumPresets()) return;
  PresetSlot& preset = *mPresets[mCurrentPreset];
  preset.state.Clear();
  SaveState(preset.state);
  if (name != nullptr && name[0] != '\0') preset.SetName(name);
}

bool IFxBase::SerializePresets(StateChunk& chunk) {
  bool ok = true;
  for (const std::unique_ptr<PresetSlot>& preset : mPresets) {
    chunk.PutText(preset->Name());
    chunk.PutBool(preset->initialized);
    if (preset->initialized) chunk.PutChunk(preset->state);
    ok = !chunk.Empty();
  }
  return ok;
}

int IFxBase::UnserializePresets(const StateChunk& chunk, int position) {
  std::string lastName;  // the last name read during this call
  for (std::unique_ptr<PresetSlot>& preset : mPresets) {
    if (position < 0) break;
    int32_t length = 0;
    int next = chunk.GetInt32(&length, position);
    if (next >= 0) {
      if (length < 0) {
        // No bank we write has a negative length; stepping backwards would
        // re-read earlier bytes as a preset, so the bank ends here.
        next = -1;
      } else {
        const int64_t end = static_cast<int64_t>(next) + length;
        if (length > 0 && end <= chunk.Size()) chunk.GetText(&lastName, position);
        next = end <= std::numeric_limits<int>::max() ? static_cast<int>(end) : -1;
      }
    }
    preset->SetName(lastName.c_str());

    uint8_t initialized = 0;
    position = chunk.GetByte(&initialized, next);
    if (position >= 0) preset->initialized = initialized != 0;

    if (position >= 0 && preset->initialized) {
      position = LoadState(chunk, position);
      if (position > 0) {
        preset->state.Clear();
        SaveState(preset->state);
      }
    }
  }
  SelectPreset(mCurrentPreset);
  return position;
}

void IFxBase::FillEmptyPresets() { CreateDefaultPresets("Empty", NumPresets()); }

void IFxBase::WriteChunkHeader(StateChunk& chunk) {
  chunk.Clear();
  chunk.PutUInt32(kChunkMagic);
  chunk.PutInt32(kFrameworkVersion);
}

int IFxBase::ReadChunkHeader(const StateChunk& chunk, int& position) {
  uint32_t magic = 0;
  const int afterMagic = chunk.GetUInt32(&magic, position);
  if (afterMagic < 0 || magic != kChunkMagic) return 0;
  int32_t version = 0;
  position = chunk.GetInt32(&version, afterMagic);
  return position >= 0 ? version : 0;
}
