# Writes OUTPUT, a C++ source that holds the given JSON files as texts:
#   cmake -DOUTPUT=... -DFILES="a.json;b.json" -P EmbedContent.cmake
set(body "// Generated from data/store: the default store content.\n#include \"KPLSqliteStore/DefaultContent.h\"\n\nnamespace kplstore {\nconst std::vector<EmbeddedFile>& DefaultContent() {\n  static const std::vector<EmbeddedFile> files = {\n")
foreach(file IN LISTS FILES)
  get_filename_component(name "${file}" NAME)
  file(READ "${file}" text)
  string(APPEND body "      {\"${name}\", R\"KPLJSON(${text})KPLJSON\"},\n")
endforeach()
string(APPEND body "  };\n  return files;\n}\n}  // namespace kplstore\n")
file(WRITE "${OUTPUT}.tmp" "${body}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
