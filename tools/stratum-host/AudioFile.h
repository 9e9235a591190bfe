#pragma once

#include <cstdint>
#include <string>

namespace stratumhost {

// Reading and writing sound files through libsndfile, as interleaved doubles.

class AudioFileReader {
 public:
  AudioFileReader() = default;
  ~AudioFileReader();
  AudioFileReader(const AudioFileReader&) = delete;
  AudioFileReader& operator=(const AudioFileReader&) = delete;

  bool Open(const std::string& path, std::string* error);
  int Channels() const { return mChannels; }
  double SampleRate() const { return mSampleRate; }
  int64_t Frames() const { return mFrames; }
  // Reads up to frames frames; answers how many were read (0 at the end).
  int64_t Read(double* interleaved, int64_t frames);

 private:
  void* mFile = nullptr;
  int mChannels = 0;
  double mSampleRate = 0.0;
  int64_t mFrames = 0;
};

class AudioFileWriter {
 public:
  AudioFileWriter() = default;
  ~AudioFileWriter();
  AudioFileWriter(const AudioFileWriter&) = delete;
  AudioFileWriter& operator=(const AudioFileWriter&) = delete;

  // A WAV file of 32-bit floats, or 64-bit floats when doublePrecision.
  bool Create(const std::string& path, int channels, double sampleRate, bool doublePrecision, std::string* error);
  bool Write(const double* interleaved, int64_t frames, std::string* error);
  bool Close(std::string* error);

 private:
  void* mFile = nullptr;
};

}  // namespace stratumhost
