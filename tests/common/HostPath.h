// A path of the build machine as the Windows programs under test see it:
// the Unix root is Wine's drive Z:, and a Windows path is kept.
#pragma once

#include <string>

inline std::string HostPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}
