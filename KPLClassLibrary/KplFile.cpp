#include "KPLClassLibrary/KplFile.h"

#include "KPLClassLibrary/KplGlobal.h"

namespace {

using kpl::platform::OpenMode;
constexpr const char* kModule = "KPLClassLibrary/KplFile";
constexpr char kSep = kpl::platform::kPathSeparator;

struct OpenType {
  OpenMode mode;
  bool mustExist;
};

// Text and binary are one mode on POSIX.
constexpr OpenType kOpenTypes[8] = {
    {{.read = true, .write = false, .create = false, .truncate = false}, true},
    {{.read = false, .write = true, .create = true, .truncate = true}, false},
    {{.read = true, .write = false, .create = false, .truncate = false}, true},
    {{.read = false, .write = true, .create = true, .truncate = true}, false},
    {{.read = false, .write = true, .create = true, .truncate = false}, false},
    {{.read = false, .write = true, .create = true, .truncate = false}, false},
    {{.read = true, .write = true, .create = false, .truncate = false}, true},
    {{.read = true, .write = true, .create = false, .truncate = false}, true},
};

}  // namespace

void KPLFile::SetFilePath(const std::string& path) {
  const auto last = path.rfind(kSep);
  if (last == std::string::npos) {
    folder.clear();
    name = path;
  } else {
    folder = path.substr(0, last + 1);
    name = path.substr(last + 1);
  }
}

bool KPLFile::GetFullPath(std::string& out) const {
  out.clear();
  if (name.empty() || name.back() == kSep) return false;
  out = folder;
  if (!out.empty() && out.back() != kSep) out += kSep;
  out += name;
  return true;
}

bool KPLFile::Open(int type) {
  if (IsOpen()) return false;
  if (type < 0 || type > 7) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid open file type: %d.", type));
    return false;
  }
  std::string path;
  GetFullPath(path);
  const OpenType& openType = kOpenTypes[type];
  if (openType.mustExist && !kpl::platform::FileExists(path)) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("File name: %s does not exist.", path.c_str()));
    return false;
  }
  if (!BufferedFile::Open(path, openType.mode)) return false;
  opened = true;
  return true;
}

bool KPLFile::IsOpen() {
  if (BufferedFile::IsOpen() && opened) return true;
  opened = false;
  return false;
}

bool KPLFile::Close() {
  if (!IsOpen()) return false;
  BufferedFile::Close();
  opened = false;
  return true;
}

bool KPLFile::Create() {
  if (IsOpen()) Close();
  if (Open(1)) Close();
  return true;
}

bool KPLFile::Delete() {
  if (IsOpen()) Close();
  std::string path;
  if (GetFullPath(path) && kpl::platform::FileExists(path)) (void)kpl::platform::RemoveFile(path);
  return true;
}

bool KPLFile::Rename(const std::string& newName) {
  std::string oldPath, newPath;
  GetFullPath(oldPath);
  SetName(newName);
  GetFullPath(newPath);
  // POSIX names differ by case, so the comparison keeps case.
  if (oldPath == newPath) return true;
  if (!kpl::platform::CopyFileOver(oldPath, newPath)) return false;
  return kpl::platform::RemoveFile(oldPath);
}

bool KPLFile::ReadLine(std::string& out) {
  if (!IsOpen() || !BufferedFile::ReadLine(out, false)) {
    out.clear();
    return false;
  }
  line.SetLine(out);
  return true;
}

bool KPLFile::ReadRawLine(std::string& out) {
  return IsOpen() && BufferedFile::ReadLine(out, true, kReadRawLineLimit);
}

bool KPLFile::WriteString(const std::string& text) {
  if (IsOpen()) (void)Write(text);
  return true;
}

void KPLFile::Hide() {
  std::string path;
  if (IsOpen() && GetFullPath(path)) (void)kpl::platform::HideFile(path);
}
