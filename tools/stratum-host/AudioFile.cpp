#include "tools/stratum-host/AudioFile.h"

#include <cmath>

#include <sndfile.h>

namespace stratumhost {

namespace {
SNDFILE* File(void* file) { return static_cast<SNDFILE*>(file); }
}  // namespace

AudioFileReader::~AudioFileReader() {
  if (mFile != nullptr) sf_close(File(mFile));
}

bool AudioFileReader::Open(const std::string& path, std::string* error) {
  SF_INFO info = {};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    *error = "cannot read '" + path + "': " + sf_strerror(nullptr);
    return false;
  }
  if (info.channels < 1 || info.samplerate < 1) {
    sf_close(file);
    *error = "cannot read '" + path + "': no audio in it";
    return false;
  }
  mFile = file;
  mChannels = info.channels;
  mSampleRate = info.samplerate;
  mFrames = info.frames;
  return true;
}

int64_t AudioFileReader::Read(double* interleaved, int64_t frames) {
  return sf_readf_double(File(mFile), interleaved, frames);
}

AudioFileWriter::~AudioFileWriter() {
  if (mFile != nullptr) sf_close(File(mFile));
}

bool AudioFileWriter::Create(const std::string& path, int channels, double sampleRate, bool doublePrecision,
                             std::string* error) {
  SF_INFO info = {};
  info.channels = channels;
  info.samplerate = static_cast<int>(std::lround(sampleRate));
  info.format = SF_FORMAT_WAV | (doublePrecision ? SF_FORMAT_DOUBLE : SF_FORMAT_FLOAT);
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    *error = "cannot write '" + path + "': " + sf_strerror(nullptr);
    return false;
  }
  // Floating-point samples are written as they are, without clipping or scaling.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_FALSE);
  sf_command(file, SFC_SET_NORM_DOUBLE, nullptr, SF_FALSE);
  mFile = file;
  return true;
}

bool AudioFileWriter::Write(const double* interleaved, int64_t frames, std::string* error) {
  if (sf_writef_double(File(mFile), interleaved, frames) != frames) {
    *error = std::string("writing the output failed: ") + sf_strerror(File(mFile));
    return false;
  }
  return true;
}

bool AudioFileWriter::Close(std::string* error) {
  if (mFile == nullptr) return true;
  const int result = sf_close(File(mFile));
  mFile = nullptr;
  if (result != 0) {
    *error = std::string("writing the output failed: ") + sf_error_number(result);
    return false;
  }
  return true;
}

}  // namespace stratumhost
