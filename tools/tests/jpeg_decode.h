// Decoding through each of the two libjpeg builds, for the build check.
#pragma once

#include <string>
#include <vector>

struct DecodedJpeg {
  int precision = 0;
  int width = 0;
  int height = 0;
  int components = 0;
  std::vector<int> samples;  // rows of interleaved samples
  std::string error;
};

DecodedJpeg DecodeJpeg8(const char* path);
DecodedJpeg DecodeJpeg12(const char* path);
