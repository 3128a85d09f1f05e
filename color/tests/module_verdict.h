// The verdict of color_module_probe on the system's colour-management module
// (<build>/color_module_verdict.txt): whether it can do a capability
// ("format-1027", "check", "create", ...), and why not. A test of a module
// feature skips with that reason when the verdict says no.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

// False with the reason when the verdict is missing or says no.
inline bool ModuleCan(const std::string& capability, std::string* reason) {
  std::ifstream in(ZIR_MODULE_VERDICT);
  if (!in) {
    *reason = "no module verdict (run the color_module_probe test)";
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string name, answer;
    words >> name >> answer;
    if (name != capability) continue;
    std::getline(words, *reason);
    *reason = "the module: " + capability + ": " + reason->substr(reason->empty() ? 0 : 1);
    return answer == "yes";
  }
  *reason = "the verdict names no " + capability;
  return false;
}
