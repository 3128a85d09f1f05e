#include "color/tests/scripted_color_module.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

ScriptedColorModule* gModule = nullptr;
int gModuleToken = 0;
int gTransformToken = 0;

uint32_t Big32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
         p[3];
}

ScriptedColorModule::Profile* Open(ColorProfileHandle handle) {
  auto* profile = reinterpret_cast<ScriptedColorModule::Profile*>(handle);
  for (auto& p : gModule->profiles)
    if (&p == profile && p.open) return profile;
  return nullptr;
}

// The element of a tag: offset and size inside the profile, false when missing.
bool FindTag(const std::vector<uint8_t>& bytes, uint32_t tag, uint32_t* offset, uint32_t* size) {
  if (bytes.size() < 132) return false;
  const uint32_t count = Big32(&bytes[128]);
  for (uint32_t i = 0; i < count && 132 + 12 * (i + 1) <= bytes.size(); ++i) {
    const uint8_t* entry = &bytes[132 + 12 * i];
    if (Big32(entry) == tag && Big32(entry + 4) + Big32(entry + 8) <= bytes.size()) {
      *offset = Big32(entry + 4);
      *size = Big32(entry + 8);
      return true;
    }
  }
  return false;
}

int32_t COLOR_MODULE_CALL GetColorDirectoryA(const char*, char* buffer, uint32_t* size) {
  gModule->calls.push_back("GetColorDirectoryA");
  if (gModule->Fails("GetColorDirectoryA") || gModule->colorDirectory.size() + 1 > *size) return 0;
  std::strcpy(buffer, gModule->colorDirectory.c_str());
  return 1;
}

ColorProfileHandle COLOR_MODULE_CALL OpenColorProfileA(const ColorProfileLocation* location, uint32_t access,
                                                       uint32_t share, uint32_t creation) {
  gModule->calls.push_back("OpenColorProfileA");
  ScriptedColorModule::OpenCall call{
      location->source, location->size, access, share, creation, location->data == nullptr, ""};
  std::vector<uint8_t> bytes;
  if (location->source == kProfileFromFile && location->data) {
    call.path = static_cast<const char*>(location->data);
    bytes = ReadWholeFile(call.path);
  } else if (location->data) {
    const auto* data = static_cast<const uint8_t*>(location->data);
    bytes.assign(data, data + location->size);
  }
  gModule->opens.push_back(call);
  // Only existing profiles open; a new one starts empty.
  if (gModule->Fails("OpenColorProfileA") || (creation != 1 && bytes.size() < 128)) return nullptr;
  gModule->profiles.push_back({bytes, true});
  return reinterpret_cast<ColorProfileHandle>(&gModule->profiles.back());
}

int32_t COLOR_MODULE_CALL GetColorProfileHeader(ColorProfileHandle handle, ColorProfileHeader* header) {
  gModule->calls.push_back("GetColorProfileHeader");
  auto* profile = Open(handle);
  if (gModule->Fails("GetColorProfileHeader") || !profile || profile->bytes.size() < 128) return 0;
  auto* words = reinterpret_cast<uint32_t*>(header);
  for (int i = 0; i < 21; ++i) words[i] = Big32(&profile->bytes[4 * i]);
  std::memcpy(header->reserved, &profile->bytes[84], sizeof header->reserved);
  return 1;
}

int32_t COLOR_MODULE_CALL SetColorProfileHeader(ColorProfileHandle handle, ColorProfileHeader*) {
  gModule->calls.push_back("SetColorProfileHeader");
  return !gModule->Fails("SetColorProfileHeader") && Open(handle);
}

// As the system's module: a null buffer gives the size and answers failure.
int32_t COLOR_MODULE_CALL GetColorProfileElement(ColorProfileHandle handle, uint32_t tag, uint32_t offset,
                                                 uint32_t* size, void* buffer, int32_t* reference) {
  gModule->calls.push_back("GetColorProfileElement");
  auto* profile = Open(handle);
  uint32_t at = 0, length = 0;
  if (gModule->Fails("GetColorProfileElement") || !profile || offset != 0 || !reference ||
      !FindTag(profile->bytes, tag, &at, &length)) {
    return 0;
  }
  *reference = 0;
  if (!buffer || *size < length) {
    *size = length;
    return 0;
  }
  std::memcpy(buffer, &profile->bytes[at], length);
  *size = length;
  return 1;
}

int32_t COLOR_MODULE_CALL GetColorProfileFromHandle(ColorProfileHandle handle, void* buffer, uint32_t* size) {
  gModule->calls.push_back("GetColorProfileFromHandle");
  auto* profile = Open(handle);
  if (gModule->Fails("GetColorProfileFromHandle") || !profile) return 0;
  const uint32_t length = static_cast<uint32_t>(profile->bytes.size());
  if (!buffer || *size < length) {
    *size = length;
    return 0;
  }
  std::memcpy(buffer, profile->bytes.data(), length);
  *size = length;
  return 1;
}

int32_t COLOR_MODULE_CALL SetColorProfileElementSize(ColorProfileHandle handle, uint32_t, uint32_t) {
  gModule->calls.push_back("SetColorProfileElementSize");
  return !gModule->Fails("SetColorProfileElementSize") && Open(handle);
}

int32_t COLOR_MODULE_CALL SetColorProfileElement(ColorProfileHandle handle, uint32_t, uint32_t offset, uint32_t* size,
                                                 const void* data) {
  gModule->calls.push_back("SetColorProfileElement");
  return !gModule->Fails("SetColorProfileElement") && Open(handle) && offset == 0 && size && data;
}

int32_t COLOR_MODULE_CALL IsColorProfileValid(ColorProfileHandle handle, int32_t* valid) {
  gModule->calls.push_back("IsColorProfileValid");
  auto* profile = Open(handle);
  if (gModule->Fails("IsColorProfileValid") || !profile) return 0;
  *valid = profile->bytes.size() >= 128 && Big32(&profile->bytes[36]) == 0x61637370 &&
           Big32(&profile->bytes[0]) == profile->bytes.size();
  return 1;
}

int32_t COLOR_MODULE_CALL CloseColorProfile(ColorProfileHandle handle) {
  gModule->calls.push_back("CloseColorProfile");
  auto* profile = Open(handle);
  if (gModule->Fails("CloseColorProfile") || !profile) return 0;
  profile->open = false;
  return 1;
}

ColorTransformHandle COLOR_MODULE_CALL CreateMultiProfileTransform(ColorProfileHandle* profiles, uint32_t count,
                                                                   uint32_t* intents, uint32_t intentCount,
                                                                   uint32_t flags, uint32_t cmm) {
  gModule->calls.push_back("CreateMultiProfileTransform");
  gModule->transforms.push_back(
      {count, intentCount, flags, cmm, std::vector<uint32_t>(intents, intents + intentCount)});
  for (uint32_t i = 0; i < count; ++i)
    if (!Open(profiles[i])) return nullptr;
  if (gModule->Fails("CreateMultiProfileTransform")) return nullptr;
  return reinterpret_cast<ColorTransformHandle>(&gTransformToken);
}

int32_t COLOR_MODULE_CALL DeleteColorTransform(ColorTransformHandle transform) {
  gModule->calls.push_back("DeleteColorTransform");
  return !gModule->Fails("DeleteColorTransform") &&
         transform == reinterpret_cast<ColorTransformHandle>(&gTransformToken);
}

// Copies the input to the output (or does what the test asks), so a test sees that the call went through.
int32_t COLOR_MODULE_CALL TranslateBitmapBits(ColorTransformHandle, const void* input, uint32_t inputFormat,
                                              uint32_t width, uint32_t height, uint32_t inputStride, void* output,
                                              uint32_t outputFormat, uint32_t outputStride, void* callback, uintptr_t) {
  gModule->calls.push_back("TranslateBitmapBits");
  const ScriptedColorModule::TranslateCall call{inputFormat,  width,        height,
                                                inputStride,  outputFormat, outputStride,
                                                callback != nullptr};
  gModule->translations.push_back(call);
  if (gModule->Fails("TranslateBitmapBits")) return 0;
  if (gModule->translate)
    gModule->translate(call, input, output);
  else
    std::memmove(output, input, static_cast<size_t>(height) * inputStride);
  return 1;
}

int32_t COLOR_MODULE_CALL CheckBitmapBits(ColorTransformHandle, const void*, uint32_t inputFormat, uint32_t width,
                                          uint32_t height, uint32_t stride, uint8_t* result, void* callback,
                                          uintptr_t) {
  gModule->calls.push_back("CheckBitmapBits");
  gModule->translations.push_back({inputFormat, width, height, stride, 0, 0, callback != nullptr});
  if (gModule->Fails("CheckBitmapBits")) return 0;
  std::memset(result, 0, static_cast<size_t>(width) * height);
  return 1;
}

int32_t COLOR_MODULE_CALL GetStandardColorSpaceProfileA(const char*, uint32_t id, char* path, uint32_t* size) {
  gModule->calls.push_back("GetStandardColorSpaceProfileA");
  if (gModule->Fails("GetStandardColorSpaceProfileA") || id != 0x57696E20 || gModule->standardProfile.empty() ||
      gModule->standardProfile.size() + 1 > *size) {
    return 0;
  }
  std::strcpy(path, gModule->standardProfile.c_str());
  return 1;
}

struct Export {
  const char* name;
  void* function;
};

const Export kExports[] = {
    {"GetColorDirectoryA", reinterpret_cast<void*>(GetColorDirectoryA)},
    {"OpenColorProfileA", reinterpret_cast<void*>(OpenColorProfileA)},
    {"GetColorProfileHeader", reinterpret_cast<void*>(GetColorProfileHeader)},
    {"SetColorProfileHeader", reinterpret_cast<void*>(SetColorProfileHeader)},
    {"GetColorProfileElement", reinterpret_cast<void*>(GetColorProfileElement)},
    {"GetColorProfileFromHandle", reinterpret_cast<void*>(GetColorProfileFromHandle)},
    {"SetColorProfileElementSize", reinterpret_cast<void*>(SetColorProfileElementSize)},
    {"SetColorProfileElement", reinterpret_cast<void*>(SetColorProfileElement)},
    {"IsColorProfileValid", reinterpret_cast<void*>(IsColorProfileValid)},
    {"CloseColorProfile", reinterpret_cast<void*>(CloseColorProfile)},
    {"CreateMultiProfileTransform", reinterpret_cast<void*>(CreateMultiProfileTransform)},
    {"DeleteColorTransform", reinterpret_cast<void*>(DeleteColorTransform)},
    {"TranslateBitmapBits", reinterpret_cast<void*>(TranslateBitmapBits)},
    {"CheckBitmapBits", reinterpret_cast<void*>(CheckBitmapBits)},
    {"GetStandardColorSpaceProfileA", reinterpret_cast<void*>(GetStandardColorSpaceProfileA)},
};

}  // namespace

ScriptedColorModule::ScriptedColorModule() {
  gModule = this;
  InstallColorModuleLoader(this);
}

ScriptedColorModule::~ScriptedColorModule() {
  ColorSystemUnload();
  InstallColorModuleLoader(nullptr);
  gModule = nullptr;
}

bool ScriptedColorModule::Fails(const char* function) { return failing.count(function) != 0; }

int ScriptedColorModule::OpenProfileCount() const {
  int count = 0;
  for (const Profile& p : profiles) count += p.open ? 1 : 0;
  return count;
}

void* ScriptedColorModule::Load(const char* name) {
  loadedName = name;
  return loads ? &gModuleToken : nullptr;
}

void ScriptedColorModule::Free(void*) { ++freed; }

void* ScriptedColorModule::Lookup(void* module, const char* function) {
  if (module != &gModuleToken || missing.count(function)) return nullptr;
  for (const Export& e : kExports)
    if (std::strcmp(e.name, function) == 0) return e.function;
  return nullptr;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::string native = path;
#ifndef _WIN32
  for (char& c : native)
    if (c == '\\') c = '/';
#endif
  std::ifstream in(native, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
