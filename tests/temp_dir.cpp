#include "temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

TempDir::TempDir(const std::string& prefix) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + prefix + "XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a folder like " + pattern);
  }
  dir = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!kept) std::filesystem::remove_all(dir, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& text) const {
  const std::string file = dir + "/" + name;
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
