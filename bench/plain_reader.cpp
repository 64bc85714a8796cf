#include "plain_reader.h"

#include <cstdio>
#include <cstdlib>

size_t read_with_fgets_strtod(const char* path, std::vector<double>& values) {
  FILE* file = std::fopen(path, "r");
  if (file == nullptr) return 0;
  char line[4096];
  bool header = true;
  while (std::fgets(line, sizeof line, file) != nullptr) {
    if (header) {
      header = false;
      continue;
    }
    // strtod stops at the comma that ends a field (at once for an empty
    // field, which reads as 0); anything else before the comma is skipped.
    char* field = line;
    for (;;) {
      char* stop = nullptr;
      values.push_back(std::strtod(field, &stop));
      while (*stop != ',' && *stop != '\n' && *stop != '\0') ++stop;
      if (*stop != ',') break;
      field = stop + 1;
    }
  }
  std::fclose(file);
  return values.size();
}
