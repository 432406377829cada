#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kpl::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kpltest-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
  std::ofstream out(File(name), std::ios::binary);
  out << content;
  return File(name);
}

std::string TempDir::Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string SharedDir() {
  const char* env = std::getenv("KPL_SHARED_DIR");
  std::string dir = env && *env ? env : KPL_SHARED_DIR;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace kpl::testing
