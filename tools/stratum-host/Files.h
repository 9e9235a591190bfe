#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace stratumhost {

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);

// A fresh path beside path, for writing a file that replaces path only once
// it is complete (see CommitFile).
std::string TemporaryPathBeside(const std::string& path);

// Writes bytes to a temporary file beside path; CommitFile then moves it over path.
bool WriteTemporaryFile(const std::string& temporary, const std::vector<uint8_t>& bytes, std::string* error);
bool CommitFile(const std::string& temporary, const std::string& path, std::string* error);
void RemoveFile(const std::string& path);

}  // namespace stratumhost
