// Back to the full tone range: the end points of the tone blocks in use.
#pragma once

struct FrameRecord;
struct ToneBlock;

// In the template and in the frame's tone blocks in use (the master block for
// one channel, the three channel blocks for RGB): input and output ranges
// 0..256, end outputs 0 and 256, no mid-tone shift, no fixed-point values;
// the contrast too while the light-source flag is set. Redrawing the preview
// is the caller's.
void ResetToneEndPoints(ToneBlock* toneTemplate, FrameRecord* frame);
