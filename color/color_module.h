// The binding to the system's colour-management module ("mscms.dll"): loaded
// once per session, every function looked up by name at each call. Each
// wrapper fails softly with its status code when the module or the function
// is missing, so colour management is then simply unavailable.
#pragma once

#include <cstdint>

// The module's functions use the system's calling convention.
#if defined(_WIN32) && !defined(_WIN64)
#define COLOR_MODULE_CALL __stdcall
#else
#define COLOR_MODULE_CALL
#endif

typedef struct ColorProfileObject* ColorProfileHandle;
typedef struct ColorTransformObject* ColorTransformHandle;

// Where a profile comes from: a file path, or a block of memory with its size
// (the module's PROFILE record).
enum ColorProfileSource : uint32_t { kProfileFromFile = 1, kProfileFromMemory = 2 };

struct ColorProfileLocation {
  uint32_t source;   // ColorProfileSource
  const void* data;  // zero-terminated path, or the profile bytes
  uint32_t size;     // path length with its terminator, or bytes of a memory profile
};

// A file profile's location: size counts the terminator.
ColorProfileLocation FileProfileLocation(const char* path);

// Status codes of the colour-management calls; callers test for 0 only.
constexpr int16_t kColorProfileError = -176;   // opening a profile failed
constexpr int16_t kColorCallError = -170;      // creating a profile, a header or element call
constexpr int16_t kColorTransformError = -171; // creating a transform
constexpr int16_t kColorCloseError = -182;     // closing a profile

// The module's profile header: the ICC header in host byte order.
struct ColorProfileHeader {
  uint32_t size;
  uint32_t cmmType;
  uint32_t version;
  uint32_t deviceClass;
  uint32_t dataColorSpace;
  uint32_t connectionSpace;
  uint32_t dateTime[3];
  uint32_t signature;
  uint32_t platform;
  uint32_t flags;
  uint32_t manufacturer;
  uint32_t model;
  uint32_t attributes[2];
  uint32_t renderingIntent;
  int32_t illuminant[3];
  uint32_t creator;
  uint8_t reserved[44];
};
static_assert(sizeof(ColorProfileHeader) == 128, "the ICC header");

// The module's bitmap formats used by the callers.
enum ColorBitmapFormat : uint32_t {
  kBitmapXrgbQuads = 8,     // 8-bit colour, 4 bytes a pixel
  kBitmapXbgrQuads = 16,
  kBitmapKymcQuads = 773,   // 8-bit CMYK; in memory cyan, magenta, yellow, black
  kBitmap16Rgb = 10,        // 16-bit, 3 channels, 6 bytes a pixel
  kBitmap16G3ch = 1284,
  kBitmap10Lab = 1027,      // 10 bits a channel in 32 bits, L in the highest field
};

// How the module is reached: the system's library loader, or a scripted
// module in tests. Lookup answers null for a function the module lacks.
class ColorModuleLoader {
 public:
  virtual ~ColorModuleLoader() = default;
  virtual void* Load(const char* name) = 0;
  virtual void Free(void* module) = 0;
  virtual void* Lookup(void* module, const char* function) = 0;
};
// Installs a loader (tests); null returns to the platform's own.
void InstallColorModuleLoader(ColorModuleLoader* loader);
// The platform's loader (defined once per configuration; the host build has no module).
ColorModuleLoader& PlatformColorModuleLoader();

// MSG_OPENDS loads the module; MSG_CLOSEDS frees it. The handle or null.
void* ColorSystemLoad();
void ColorSystemUnload();
bool IsColorSystemLoaded();

// Callers pass a 256-byte buffer and its size.
bool CmsGetColorDirectory(char* buffer, uint32_t* size);
// Read-only or read-write, shared for reading, an existing profile; 0 or -176.
int16_t CmsOpenColorProfile(ColorProfileHandle* profile, const ColorProfileLocation* location, uint8_t writable);
// A new file (type 1) or a new empty profile in memory (any other type); 0 or -170.
int16_t CmsCreateColorProfile(ColorProfileHandle* profile, const ColorProfileLocation* location);
int16_t CmsGetColorProfileHeader(ColorProfileHandle profile, ColorProfileHeader* header);
int16_t CmsSetColorProfileHeader(ColorProfileHandle profile, const ColorProfileHeader* header);
// A null buffer asks for the size: 0 when the module names a size above 0.
int16_t CmsGetColorProfileElement(ColorProfileHandle profile, uint32_t tag, uint32_t* size, void* buffer);
int16_t CmsGetColorProfileFromHandle(ColorProfileHandle profile, uint32_t* size, void* buffer);
int16_t CmsSetColorProfileElementSize(ColorProfileHandle profile, uint32_t tag, uint32_t size);
int16_t CmsSetColorProfileElement(ColorProfileHandle profile, uint32_t tag, uint32_t size, const void* data);
int16_t CmsIsColorProfileValid(ColorProfileHandle profile, uint8_t* valid);
// 0, or -182.
int16_t CmsCloseColorProfile(ColorProfileHandle profile);
// Source to target with the rendering intent of the defaults for both; 0 or -171.
int16_t CmsCreateMultiProfileTransform(ColorTransformHandle* transform, ColorProfileHandle source,
                                       ColorProfileHandle target, uint8_t gamutCheck);
// The module's answer; 0 when it is missing.
int32_t CmsDeleteColorTransform(ColorTransformHandle transform);
bool CmsTranslateBitmapBits(ColorTransformHandle transform, const void* input, uint32_t inputFormat, uint32_t width,
                            uint32_t height, uint32_t inputStride, void* output, uint32_t outputFormat,
                            uint32_t outputStride);
bool CmsCheckBitmapBits(ColorTransformHandle transform, const void* input, uint32_t inputFormat, uint32_t width,
                        uint32_t height, uint32_t stride, uint8_t* result);
bool CmsGetStandardColorSpaceProfile(char* path, uint32_t size);
