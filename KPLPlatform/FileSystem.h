// Files: existence, copy, removal, the hidden attribute, the program's data
// folder, and a buffered file opened without sharing.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kpl::platform {

// The separator of native paths; algorithms written for "\" use this instead.
inline constexpr char kPathSeparator = '/';

[[nodiscard]] bool FileExists(const std::string& path);
// Copies, replacing an existing target; false on failure.
[[nodiscard]] bool CopyFileOver(const std::string& from, const std::string& to);
[[nodiscard]] bool RemoveFile(const std::string& path);
// POSIX has no hidden attribute: hiding a file takes away every access but the
// owner's. The file's times stay as they were.
[[nodiscard]] bool HideFile(const std::string& path);

// The folder of the running program, with a trailing separator.
[[nodiscard]] std::string ProgramFolder();
// The data folder: <program folder>/../share/kplpredicted/ when it exists (an
// installation or a build tree), else the configured installation folder.
[[nodiscard]] std::string DefaultDataFolder();

// How a BufferedFile opens: read, write or both; create when missing; truncate.
struct OpenMode {
  bool read = false;
  bool write = false;
  bool create = false;
  bool truncate = false;
};

// A buffered file with a stream handle, opened for exclusive use: a second
// exclusive open of the same file, in this process or another, fails.
class BufferedFile {
 public:
  BufferedFile() = default;
  ~BufferedFile();
  BufferedFile(const BufferedFile&) = delete;
  BufferedFile& operator=(const BufferedFile&) = delete;

  [[nodiscard]] bool Open(const std::string& path, OpenMode mode);
  bool Close();
  [[nodiscard]] bool IsOpen() const { return stream_ != nullptr; }
  [[nodiscard]] std::FILE* Stream() const { return stream_; }

  // Reads the next line; keepEnd keeps its line end; at most maxChars
  // characters (0: no limit). False at the end of the file.
  bool ReadLine(std::string& out, bool keepEnd, std::size_t maxChars = 0);
  bool Write(std::string_view text);
  bool SeekToEnd();
  bool Flush();

 private:
  std::FILE* stream_ = nullptr;
};

}  // namespace kpl::platform
