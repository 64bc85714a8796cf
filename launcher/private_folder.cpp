#include "private_folder.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

PrivateFolder::PrivateFolder() {
  const char* tmpdir = std::getenv("TMPDIR");
  std::string pattern = (tmpdir != nullptr && tmpdir[0] != '\0' ? tmpdir : "/tmp");
  pattern += "/capture-view-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) != nullptr) folder = name.data();
}

void PrivateFolder::remove() {
  if (folder.empty()) return;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
        unlink((folder + "/" + entry->d_name).c_str());
    }
    closedir(dir);
  }
  rmdir(folder.c_str());
  folder.clear();
}
