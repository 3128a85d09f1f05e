#include <cstdio>
#include <string>

#include "output/job_file.h"

bool MoveJobFolder(const char* from, const char* to) {
  // The host takes "\\" as "/", as its file layer does.
  auto native = [](std::string path) {
    for (char& c : path)
      if (c == '\\') c = '/';
    return path;
  };
  return std::rename(native(from).c_str(), native(to).c_str()) == 0;
}
