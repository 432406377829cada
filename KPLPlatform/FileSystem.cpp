#include "KPLPlatform/FileSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#ifndef KPL_INSTALL_DATA_DIR
#define KPL_INSTALL_DATA_DIR "/usr/local/share/kplpredicted"
#endif

namespace kpl::platform {
namespace fs = std::filesystem;

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool CopyFileOver(const std::string& from, const std::string& to) {
  std::error_code ec;
  return fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec) && !ec;
}

bool RemoveFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(path, ec) && !ec;
}

bool HideFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  // chmod leaves the modification and access times alone.
  return ::chmod(path.c_str(), st.st_mode & (S_IRWXU)) == 0;
}

std::string ProgramFolder() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  std::string folder = self.parent_path().string();
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

std::string DefaultDataFolder() {
  std::error_code ec;
  fs::path candidate = fs::path(ProgramFolder()) / ".." / "share" / "kplpredicted";
  std::string folder;
  if (fs::is_directory(candidate, ec)) {
    folder = fs::weakly_canonical(candidate, ec).string();
  } else {
    folder = KPL_INSTALL_DATA_DIR;
  }
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

BufferedFile::~BufferedFile() { Close(); }

bool BufferedFile::Open(const std::string& path, OpenMode mode) {
  if (stream_) return false;
  int flags = O_CLOEXEC;
  if (mode.read && mode.write) {
    flags |= O_RDWR;
  } else if (mode.write) {
    flags |= O_WRONLY;
  } else {
    flags |= O_RDONLY;
  }
  if (mode.create) flags |= O_CREAT;
  int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) return false;
  // No sharing: hold an exclusive lock for as long as the file is open.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  if (mode.truncate && ::ftruncate(fd, 0) != 0) {
    ::close(fd);
    return false;
  }
  const char* fmode = mode.read && mode.write ? "r+" : mode.write ? "w" : "r";
  stream_ = ::fdopen(fd, fmode);
  if (!stream_) {
    ::close(fd);
    return false;
  }
  return true;
}

bool BufferedFile::Close() {
  if (!stream_) return false;
  bool ok = std::fclose(stream_) == 0;
  stream_ = nullptr;
  return ok;
}

bool BufferedFile::ReadLine(std::string& out, bool keepEnd, std::size_t maxChars) {
  out.clear();
  if (!stream_) return false;
  int c = 0;
  bool any = false;
  while ((maxChars == 0 || out.size() < maxChars) && (c = std::fgetc(stream_)) != EOF) {
    any = true;
    if (c == '\n') {
      if (keepEnd) out.push_back('\n');
      else if (!out.empty() && out.back() == '\r') out.pop_back();
      return true;
    }
    out.push_back(static_cast<char>(c));
  }
  return any;
}

bool BufferedFile::Write(std::string_view text) {
  return stream_ && std::fwrite(text.data(), 1, text.size(), stream_) == text.size();
}

bool BufferedFile::SeekToEnd() { return stream_ && std::fseek(stream_, 0, SEEK_END) == 0; }
bool BufferedFile::Flush() { return stream_ && std::fflush(stream_) == 0; }

}  // namespace kpl::platform
