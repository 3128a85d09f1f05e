// The EPS/DCS writer: one frame as Encapsulated PostScript with a binary
// header and a TIFF screen preview, in one of three layouts: EPSF (the
// channels and a grey line per row), DCS in one file (a master listing four
// plate sections by offset) and DCS in separate files (a master naming four
// plate files). The rows go planar into a first-pass file, which the second
// pass copies, reoriented, into the data areas.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "output/eps_text.h"
#include "output/image_file_writer.h"

class EpsFileWriter : public ImageFileWriter {
 public:
  EpsFileWriter();
  ~EpsFileWriter() override;

 protected:
  bool OpenOutput() override;
  bool WriteOutput(const PanePreview& preview) override;
  bool WriteOutputLines(const uint8_t* buffer, uint64_t bytes, int32_t rows, int32_t columns) override;
  bool WriteProcessedLines(const uint8_t* buffer, uint64_t bytes, int32_t rows) override;

 private:
  bool OpenEpsOutputFiles(int16_t index, bool withTemporaries);
  bool WriteEpsPreviewHeader();
  bool AddPreviewRows(const uint8_t* band, int32_t rows);
  // Rows the sampler did not reach repeat its last row: the preview always holds its declared size.
  bool CompletePreviewRows();
  bool WriteDosEpsHeaderAndPreview();
  bool WriteEpsPostScript(const PanePreview& preview);
  // The image as the texts describe it, in output order.
  EpsTextInputs TextInputs(const PanePreview& preview) const;
  uint32_t PreviewPixelBytes() const;

  std::vector<uint8_t> previewLine_;
};

// The 30-byte binary header in front of the PostScript.
constexpr uint32_t kDosEpsHeaderSize = 30;
constexpr uint32_t kDosEpsMagic = 0xC6D3D0C5;
// The preview's longer side at most.
constexpr int32_t kEpsPreviewSide = 512;

// The file of the plate number (0 master or temporary, 1-4 C, M, Y, K) for the
// index (0: the writer's temporaries); fileName, when given, gets its name and
// extension. False without a "TIFL" record or when the file cannot be made.
bool CreateEpsOutputFile(int32_t index, int32_t plate, FileHandle* file, char* fileName);
void CloseEpsOutputFiles();
void DeleteEpsTempFiles();
// Sets the PostScript length to the file size minus the PostScript offset.
bool PatchDosEpsPostScriptLength();
// Fills in the plate offsets and lengths of the one-file master and writes the
// plate sections' texts and tails; 0, or -108 when a template is missing.
int16_t PlaceDcsPlatesInFile(const EpsTextInputs& image, std::string* master, uint32_t dataSize);
// Lines of n bytes per channel plane into the data areas of the layout in gOutputFormat.
bool WriteEpsDataLines(const uint8_t* buffer, int32_t lines, uint32_t n, int32_t channels);
