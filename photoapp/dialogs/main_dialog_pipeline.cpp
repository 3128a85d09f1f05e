// The main dialog's enhancement: the working source, the pipeline over it
// into the after view, and the choice between preview and full size.
#include "photoapp/dialogs/main_dialog.h"

#include "photoapp/window/dc.h"

EnhancementSettings MainDialog::ReadSettings() const {
  EnhancementSettings settings;
  settings.auto_balance = auto_balance_.GetPos();
  settings.midtones = midtones_.GetPos();
  settings.denoise = denoise_.GetPos();
  settings.details = details_.GetPos();
  settings.colour = colour_.GetPos();
  settings.subject_type = subject_type_;
  return settings;
}

// Every run starts again from the working source, so runs never accumulate.
void MainDialog::ApplyEnhancements() {
  UpdateData(true);
  ImageDocument& working = after_view_.GetDocument();
  working.CopyFrom(working_source_);
  {
    WaitCursor wait;
    EnhanceDocument(working, ReadSettings(), before_view_.HasImage(), *this);
    after_view_.RefreshAfterApply();
  }
  SetProgress(0);
  SetStatusText("Done...");
}

void MainDialog::WorkOnFullSize() {
  before_view_.ShowOriginalSize();
  before_view_.CenterImage();
  full_size_ = true;
  working_source_.CopyFrom(before_view_.GetDocument());
  after_view_.GetDocument().CopyFrom(working_source_);
  after_view_.ShowOriginalSize();
  after_view_.CenterImage();
  SetStatusText("Working on the original...");
  ApplyEnhancements();
}

void MainDialog::WorkOnPreview() {
  before_view_.FitToView();
  before_view_.CenterImage();
  full_size_ = false;
  const RECT box = after_view_.GetClientRect();
  if (working_source_.CopyFrom(before_view_.GetDocument()) == kImageOk) working_source_.FitInto(box.right, box.bottom);
  after_view_.GetDocument().CopyFrom(working_source_);
  after_view_.FitToView();
  after_view_.CenterImage();
  SetStatusText("Working on preview...");
  ApplyEnhancements();
}
