// Test support: a fresh temporary folder, removed with everything in it.
#pragma once

#include <string>

namespace kpl::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, with a trailing "/".
  [[nodiscard]] const std::string& Path() const { return path_; }
  // Path() + name.
  [[nodiscard]] std::string File(const std::string& name) const { return path_ + name; }
  // Writes a file and returns its path.
  std::string Write(const std::string& name, const std::string& content) const;
  // The whole content of a file ("" when missing).
  [[nodiscard]] static std::string Read(const std::string& path);

 private:
  std::string path_;
};

// The shared reference data folder, with a trailing "/".
[[nodiscard]] std::string SharedDir();

}  // namespace kpl::testing
