// A folder of capture-view's own below $TMPDIR (else /tmp), for the capture
// it converts, removed with everything in it.
#ifndef PRIVATE_FOLDER_H
#define PRIVATE_FOLDER_H

#include <string>

class PrivateFolder {
 public:
  // Makes a new folder, readable by its owner only, named capture-view-XXXXXX.
  // created() is false when it cannot be made.
  PrivateFolder();
  // Removes the folder if it is still there.
  ~PrivateFolder() { remove(); }
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  bool created() const { return !folder.empty(); }
  const std::string& path() const { return folder; }

  // Removes every file in the folder (a converter ended half-way may leave
  // its partial file), then the folder. Safe to call again.
  void remove();

 private:
  std::string folder;
};

#endif  // PRIVATE_FOLDER_H
