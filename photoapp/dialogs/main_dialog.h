// The photo program's main dialog: the loaded image and the enhanced result
// side by side, the five sliders and the subject type that drive the
// enhancement, the load and save flows, zoom, and the status line. The
// slider positions live in the application's profile, section "Settings".
#pragma once

#include <array>
#include <string>

#include "photoapp/controls/hyperlink.h"
#include "photoapp/document/image_document.h"
#include "photoapp/pipeline/enhancement.h"
#include "photoapp/views/preview_button.h"
#include "photoapp/window/controls.h"
#include "photoapp/window/dialog.h"

class MainDialog : public Dialog, private EnhancementObserver {
 public:
  explicit MainDialog(HWND parent = nullptr);

  void SetStatusText(const std::string& text);
  // 1 loaded, 0 failed.
  int LoadAndShowImage(const std::string& path);
  // True when the file was written.
  bool SaveImage(const std::string& path);

  // The pipeline over the working source into the after view's document.
  void ApplyEnhancements();
  // The working source: the loaded image at full size, or fitted into the after view.
  void WorkOnFullSize();
  void WorkOnPreview();

  void DestroyWindow() override;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(DataExchange& exchange) override;
  bool OnCommand(WPARAM wparam, LPARAM lparam) override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR* answer) override;

 private:
  void SetProgress(int percent) override;
  void SetStatus(const std::string& text) override;

  void OnLoadClicked();
  void OnSaveClicked();
  void OnZoomIn();
  void OnZoomOut();
  void OnAbout();
  bool OnPaint();
  void OnHScroll(int code);
  EnhancementSettings ReadSettings() const;

  // The profile section of the program's settings.
  static constexpr char kSettingsSection[] = "Settings";

  // A slider with its profile entry, range, default and tick frequency.
  struct SliderBinding {
    SliderCtrl& slider;
    const char* key;
    int maximum;
    int default_position;
    int tick_frequency;
  };
  // In the order the positions are written.
  std::array<SliderBinding, 5> Sliders();

  ImageDocument working_source_;
  StaticCtrl status_;
  CHyperLink link_;
  ProgressCtrl progress_;
  SliderCtrl colour_;
  SliderCtrl auto_balance_;
  SliderCtrl midtones_;
  SliderCtrl details_;
  SliderCtrl denoise_;
  PreviewButton after_view_;
  PreviewButton before_view_;
  int subject_type_ = -1;
  bool full_size_ = false;
  std::string loaded_path_;
  HICON icon_ = nullptr;
};
