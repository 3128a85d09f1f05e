// The one door to libjpeg. The data source links two builds of the library,
// one for 8-bit and one for 12-bit samples; each call goes through the table
// of the build that matches the image's data precision. Library objects are
// opaque here and are created by the library's own calls, so nothing outside
// the two build units depends on the library's structure sizes.
//
// Library errors never end the process: the error exit formats the message,
// destroys the library object and returns to the glue call that was running,
// which reports false. The object stays allocated (JpegObjectIsAlive is then
// false) until JpegFreeObject.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/file_io.h"

struct JpegObject;

// Message codes of the library that the data source reacts to. Both builds
// share the library's message table; the values come from its symbolic names.
struct JpegMessageCodes {
  int badPrecision;   // the data precision of the image is not the build's
  int fileWrite;      // the file destination could not write
  int outOfMemory;    // the memory destination could not grow
};
const JpegMessageCodes& JpegCodes();

// Colour spaces as the data source distinguishes them.
enum class JpegColorSpace { kGrey, kRgb, kOther };

// What read_header and calc_output_dimensions leave in the decompressor.
struct JpegDecodeInfo {
  uint32_t imageWidth, imageHeight;
  uint32_t outputWidth, outputHeight;
  int outputComponents;
  int dataPrecision;
  JpegColorSpace outColorSpace;  // the library's choice after read_header, or the one set
  bool sawJfif;
  int densityUnit;               // JFIF: 0 none, 1 per inch, 2 per centimetre
  uint32_t xDensity, yDensity;
  uint32_t outputScanline;       // lines delivered so far
  bool dataEnded;                // the scan's data ran out; the library goes on with empty blocks
  bool multipleScans;            // the whole image is read before the first line
};

// Settings applied before calc_output_dimensions and start_decompress.
struct JpegDecodeSettings {
  uint32_t scaleDenominator = 1;  // numerator is always 1
  bool rgbOutput = false;         // force RGB output
  bool floatDct = false;          // floating-point inverse DCT
};

// The image handed to a compressor.
struct JpegImageShape {
  uint32_t width, height;
  int components;
  JpegColorSpace colorSpace;  // kOther means CMYK
};

// Settings applied after setDefaults and setQuality.
struct JpegEncodeOptions {
  int densityUnit = 0;  // JFIF: 0 none, 1 per inch, 2 per centimetre
  uint16_t xDensity = 1, yDensity = 1;
  bool optimizeCoding = false;  // optimal Huffman tables
};

// Receives the content of one APPn marker (the bytes after the 2-byte length).
typedef void (*JpegMarkerHandler)(void* context, int marker, const uint8_t* data, uint32_t size);
// Shows a library message to the user.
typedef void (*JpegMessageSink)(const char* text);

// The calls of one build. Every call returns false when the library failed
// (or had failed before); the failure is then described by JpegLastError.
struct JpegLibrary {
  int precision;     // 8 or 12
  int sampleBytes;   // bytes per sample in scanline buffers: 1 or 2
  JpegObject* (*createDecompress)();
  JpegObject* (*createCompress)();
  // Frees the library's part; the object stays allocated.
  void (*destroy)(JpegObject* object);
  void (*freeObject)(JpegObject* object);

  bool (*setMarkerProcessor)(JpegObject* object, int marker, JpegMarkerHandler handler, void* context);
  bool (*memorySource)(JpegObject* object, const uint8_t* data, uint32_t size);
  bool (*fileSource)(JpegObject* object, FileHandle file);
  bool (*readHeader)(JpegObject* object, bool requireImage, bool* headerOk);
  bool (*applySettings)(JpegObject* object, const JpegDecodeSettings& settings);
  bool (*calcOutputDimensions)(JpegObject* object);
  bool (*getDecodeInfo)(JpegObject* object, JpegDecodeInfo* info);
  bool (*startDecompress)(JpegObject* object);
  // Reads one line of output width x components samples of sampleBytes each
  // (for 12 bits: native-order 16-bit words holding 0..4095).
  bool (*readScanline)(JpegObject* object, void* row);
  bool (*finishDecompress)(JpegObject* object);

  bool (*setDefaults)(JpegObject* object, const JpegImageShape& shape);
  bool (*setQuality)(JpegObject* object, int quality, bool forceBaseline);
  bool (*simpleProgression)(JpegObject* object);
  bool (*setEncodeOptions)(JpegObject* object, const JpegEncodeOptions& options);
  // The destination grows the vector; after finishCompress it holds the
  // bytes before startOffset followed by the compressed stream.
  bool (*memoryDestination)(JpegObject* object, std::vector<uint8_t>* block, uint32_t startOffset);
  bool (*fileDestination)(JpegObject* object, FileHandle file);
  bool (*startCompress)(JpegObject* object, bool writeAllTables);
  bool (*writeScanline)(JpegObject* object, const void* row);
  bool (*finishCompress)(JpegObject* object);
  bool (*writeMarkerHeader)(JpegObject* object, int marker, uint32_t length);
  bool (*writeMarkerByte)(JpegObject* object, int value);
};

// The table of the build for this data precision: 12 selects the 12-bit
// build, any other value the 8-bit build.
const JpegLibrary& JpegLibraryFor(int precision);

// State shared by the objects of both builds.
struct JpegErrorState {
  int messageCode = 0;
  char text[200] = {};
  long warnings = 0;
};

bool JpegObjectIsAlive(const JpegObject* object);
const JpegErrorState& JpegLastError(const JpegObject* object);
// Whether library messages go to the message sink (errors only; warnings are counted).
void JpegShowMessages(JpegObject* object, bool show);

// The sink for shown messages; returns the previous one. The default shows a
// message box in the product and nothing in the host checks.
JpegMessageSink SetJpegMessageSink(JpegMessageSink sink);
