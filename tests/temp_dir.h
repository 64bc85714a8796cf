// A fresh directory for the files of one test, removed with everything in it
// when the object goes away.
#ifndef TEMP_DIR_H
#define TEMP_DIR_H

#include <string>

class TempDir {
 public:
  // Creates a new directory whose name starts with prefix below $TMPDIR, else
  // /tmp. Throws std::runtime_error, naming the folder, when it cannot.
  explicit TempDir(const std::string& prefix);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Writes text (any bytes) to the file `name` in the directory and returns
  // its path.
  std::string write(const std::string& name, const std::string& text) const;

  // Path of the directory.
  const std::string& path() const { return dir; }

  // Keeps the directory and its files after the object goes away, so a
  // failing input can be looked at.
  void keep() { kept = true; }

 private:
  std::string dir;
  bool kept = false;
};

// The whole content of a file; an empty text when it cannot be read.
std::string read_file(const std::string& path);

#endif  // TEMP_DIR_H
