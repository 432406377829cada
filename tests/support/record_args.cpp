// Test program: appends its argument vector to the file named by
// KPL_RECORD_FILE, one argument per record, records ended by NUL, the call
// ended by an extra NUL. Exits with KPL_RECORD_EXIT (default 0).
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const char* file = std::getenv("KPL_RECORD_FILE");
  if (file) {
    if (std::FILE* out = std::fopen(file, "ab")) {
      for (int i = 0; i < argc; ++i) std::fwrite(argv[i], 1, std::char_traits<char>::length(argv[i]) + 1, out);
      std::fputc('\0', out);
      std::fclose(out);
    }
  }
  const char* code = std::getenv("KPL_RECORD_EXIT");
  return code ? std::atoi(code) : 0;
}
