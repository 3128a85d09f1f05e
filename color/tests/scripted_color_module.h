// A colour-management module of the tests' own: it opens profiles from files
// and memory, answers headers and elements from their bytes, records what the
// binding passes, and fails the functions a test names. Installed for the
// lifetime of the object; ColorSystemLoad is left to the test.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "color/color_module.h"

class ScriptedColorModule : public ColorModuleLoader {
 public:
  ScriptedColorModule();
  ~ScriptedColorModule() override;

  // Chosen by the test.
  bool loads = true;
  std::set<std::string> missing;  // functions the module lacks
  std::set<std::string> failing;  // functions that answer failure
  std::string colorDirectory;
  std::string standardProfile;

  // What the binding passed.
  std::vector<std::string> calls;  // function names in call order
  std::string loadedName;
  struct OpenCall {
    uint32_t source, size, access, share, creation;
    bool nullData;
    std::string path;
  };
  std::vector<OpenCall> opens;
  struct TransformCall {
    uint32_t profileCount, intentCount, flags, cmm;
    std::vector<uint32_t> intents;
  };
  std::vector<TransformCall> transforms;
  struct TranslateCall {
    uint32_t inputFormat, width, height, inputStride, outputFormat, outputStride;
    bool callback;
  };
  std::vector<TranslateCall> translations;
  // What TranslateBitmapBits writes; without it the input rows are copied.
  std::function<void(const TranslateCall&, const void* input, void* output)> translate;
  int freed = 0;

  int OpenProfileCount() const;

  void* Load(const char* name) override;
  void Free(void* module) override;
  void* Lookup(void* module, const char* function) override;

  struct Profile {
    std::vector<uint8_t> bytes;
    bool open = true;
  };
  std::deque<Profile> profiles;
  bool Fails(const char* function);
};

// The ICC bytes of a file, empty when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::string& path);
