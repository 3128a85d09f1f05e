#include "output/job_thumbnails.h"

// Not built yet: no thumbnail is made, so entries report none.
void RefreshThumbnail(JobItem&, int32_t) {}
// Not built yet: nothing to render.
void RenderJobThumbnail(JobItem&) {}
// Not built yet: the bitmap is not taken.
void BuildOverviewThumbnail(JobItem&, void*) {}
