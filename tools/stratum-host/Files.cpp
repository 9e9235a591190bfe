#include "tools/stratum-host/Files.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace stratumhost {

namespace fs = std::filesystem;

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) {
    *error = "cannot read '" + path + "': it is a folder";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read '" + path + "': no such file or no permission";
    return false;
  }
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    *error = "cannot read '" + path + "'";
    return false;
  }
  return true;
}

std::string TemporaryPathBeside(const std::string& path) {
  static std::mt19937_64 random{std::random_device{}()};
  const fs::path target(path);
  const std::string name = "." + target.filename().string() + ".part-" + std::to_string(random() % 1000000000);
  return (target.parent_path() / name).string();
}

bool WriteTemporaryFile(const std::string& temporary, const std::vector<uint8_t>& bytes, std::string* error) {
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (out) out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (out) out.close();
  if (!out) {
    RemoveFile(temporary);
    *error = "cannot write '" + temporary + "'";
    return false;
  }
  return true;
}

bool CommitFile(const std::string& temporary, const std::string& path, std::string* error) {
  std::error_code ec;
  fs::rename(temporary, path, ec);
  if (ec) {
    RemoveFile(temporary);
    *error = "cannot write '" + path + "': " + ec.message();
    return false;
  }
  return true;
}

void RemoveFile(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

}  // namespace stratumhost
