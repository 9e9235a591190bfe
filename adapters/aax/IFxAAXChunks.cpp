// The state chunk: one chunk whose ID is the plug-in's code, holding the
// state the effect saves.

#include <cstring>

#include "adapters/aax/IFxAAX.h"
#include "core/StateChunk.h"

AAX_Result IFxAAX::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const {
  if (chunkID == nullptr) return AAX_ERROR_NULL_OBJECT;
  if (index != 0) {
    *chunkID = 0;
    return AAX_ERROR_INVALID_CHUNK_INDEX;
  }
  *chunkID = GetUniqueCode();
  return AAX_SUCCESS;
}

AAX_Result IFxAAX::GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) {
  if (size == nullptr) return AAX_ERROR_NULL_OBJECT;
  if (chunkID != GetUniqueCode()) {
    *size = 0;
    return AAX_ERROR_INVALID_CHUNK_ID;
  }
  StateChunk state;
  if (SaveState(state)) *size = static_cast<uint32_t>(state.Size());
  return AAX_SUCCESS;
}

AAX_Result IFxAAX::GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) {
  if (chunk == nullptr) return AAX_ERROR_NULL_OBJECT;
  StateChunk state;
  if (chunkID != GetUniqueCode() || !SaveState(state)) return AAX_ERROR_INVALID_CHUNK_ID;
  chunk->fSize = state.Size();
  chunk->fChunkID = chunkID;
  std::memcpy(chunk->fData, state.Data(), static_cast<size_t>(state.Size()));
  return AAX_SUCCESS;
}

AAX_Result IFxAAX::SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) {
  if (chunkID != GetUniqueCode()) return AAX_ERROR_INVALID_CHUNK_ID;
  if (chunk == nullptr) return AAX_ERROR_NULL_OBJECT;
  // A negative or absurd size would read outside the host's record.
  if (chunk->fSize < 0 || chunk->fSize > kMaxChunkBytes) return AAX_ERROR_INCORRECT_CHUNK_SIZE;

  StateChunk state;
  state.PutBytes(chunk->fData, chunk->fSize);
  const int position = LoadState(state, 0);
  // The host's parameters follow what was restored, even from a chunk that
  // ended early (its values read so far stay applied).
  for (int i = 0; i < NumParams(); ++i) {
    const IFxParam* param = GetParam(i);
    SetParameterNormalizedValue(ParamIdText(i), param->ValueToNormalized(param->Value()));
  }
  RefreshParamControls();
  ++mChangeCount;
  // A chunk that could not be read whole is not reported as restored.
  return position < 0 ? AAX_ERROR_INVALID_CHUNK_DATA : AAX_SUCCESS;
}

int IFxAAX::ParameterBlockOffset() {
  StateChunk state;
  if (!SaveState(state)) return 0;
  const int offset = state.Size() - NumParams() * static_cast<int>(sizeof(double));
  return offset > 0 ? offset : 0;
}

AAX_Result IFxAAX::CompareActiveChunk(const AAX_SPlugInChunk* chunk, bool* isEqual) {
  if (chunk == nullptr || isEqual == nullptr) return AAX_ERROR_NULL_OBJECT;
  if (chunk->fChunkID != GetUniqueCode()) {
    *isEqual = true;
    return AAX_SUCCESS;
  }
  // The values are compared from the parameter block on, past whatever the
  // effect saves in front of it, so the doubles line up with the parameters.
  const int offset = ParameterBlockOffset();
  if (chunk->fSize < offset || chunk->fSize > kMaxChunkBytes) {
    *isEqual = false;
    return AAX_SUCCESS;
  }
  const auto* data = reinterpret_cast<const uint8_t*>(chunk->fData);
  *isEqual = StateMatches(data + offset, chunk->fSize - offset, 0);
  return AAX_SUCCESS;
}
