#include "readers/file_thumbnail_source.h"

#include <memory>

#include "foundation/dialogs/dialog_services.h"
#include "readers/image_file_reader.h"
#include "readers/reader_factory.h"
#include "records/image_file_info.h"

namespace {

class ReaderThumbnailSource : public FileThumbnailSource {
 public:
  bool Open(const char* path, int32_t wantedSize, int32_t* width, int32_t* height) override {
    // The box width is the JPEG reader's wanted size, so large JPEGs decode scaled down.
    reader_ = CreateImageFileReader(path, static_cast<int16_t>(wantedSize), false);
    ImageFileInfo info{};
    if (!reader_ || !reader_->ImageReaderIsOpen() || reader_->ReadHeader(&info) != 0) {
      reader_.reset();
      return false;
    }
    *width = static_cast<int32_t>(info.width);
    *height = static_cast<int32_t>(info.height);
    return true;
  }

  bool Draw(uint8_t* bits, int32_t width, int32_t height, int32_t rowBytes, int32_t pixelBytes) override {
    return reader_ && reader_->StartReading(0) == 0 &&
           reader_->ReadLines(nullptr, bits, width, height, rowBytes, pixelBytes);
  }

  void Close() override {
    if (reader_) reader_->FinishReading();
    reader_.reset();
  }

 private:
  std::unique_ptr<ImageFileReader> reader_;
};

}  // namespace

void InstallReaderThumbnailSource() {
  static ReaderThumbnailSource source;
  InstallFileThumbnailSource(&source);
}
