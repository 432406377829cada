// KPLFile: a buffered text or binary file with its name and folder kept apart,
// opened in one of eight fixed open types, always without sharing.
//
//   type  mode                                   must exist
//   0     text, read                             yes
//   1     text, write, create (truncate)         no
//   2     binary, read                           yes
//   3     binary, write, create (truncate)       no
//   4     text, write, create without truncating no
//   5     binary, write, create without trunc.   no
//   6     text, read and write                   yes
//   7     binary, read and write                 yes
#pragma once

#include <string>

#include "KPLClassLibrary/KplLine.h"
#include "KPLPlatform/FileSystem.h"

class KPLFile : public kpl::platform::BufferedFile {
 public:
  KPLFile() = default;

  // Splits at the last separator: folder (with it) and name.
  void SetFilePath(const std::string& path);
  void SetName(const std::string& name) { this->name = name; }
  void SetFolder(const std::string& folder) { this->folder = folder; }
  [[nodiscard]] const std::string& GetName() const { return name; }
  [[nodiscard]] const std::string& GetFolder() const { return folder; }
  // Folder, a separator when needed, and name; false (out empty) when the name
  // is empty or ends with a separator.
  bool GetFullPath(std::string& out) const;

  // Opens with an open type of the table; false when already open, when the
  // type is unknown or a file that must exist does not (both reported), or
  // when the file cannot be opened.
  bool Open(int type);
  [[nodiscard]] bool IsOpen();
  bool Close();
  // Leaves an empty file.
  bool Create();
  // Closes and removes the file.
  bool Delete();
  // Renames the file to `newName` in the same folder (copy, then delete).
  bool Rename(const std::string& newName);
  // Reads the next line without its end and loads it into GetLine().
  bool ReadLine(std::string& out);
  // Reads at most 259 characters of the next line, keeping its end.
  bool ReadRawLine(std::string& out);
  bool WriteString(const std::string& text);
  // Hides the open file (owner-only access); its times stay.
  void Hide();
  [[nodiscard]] KPLLine& GetLine() { return line; }

  static constexpr int kReadRawLineLimit = 259;

 private:
  bool opened = false;
  std::string name;
  std::string folder;
  KPLLine line;
};
