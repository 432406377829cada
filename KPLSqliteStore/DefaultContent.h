// The default content of a new store, built into the program from the JSON
// files of data/store (catalogues first, then the predicted sets).
#pragma once

#include <vector>

namespace kplstore {

struct EmbeddedFile {
  const char* name;  // "pf-default.json"
  const char* text;  // the file's JSON text
};

[[nodiscard]] const std::vector<EmbeddedFile>& DefaultContent();

}  // namespace kplstore
