// Test files written at run time into a private temporary directory.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

class TTempDir {
 public:
  TTempDir() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    Path = std::filesystem::temp_directory_path() /
           ("usagram-source-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(Path);
  }
  ~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(Path, ignored);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  // Writes the bytes as they are and returns the file's name.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = Path / name;
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.string();
  }
  std::string Missing(const std::string& name) const { return (Path / name).string(); }

 private:
  std::filesystem::path Path;
};
