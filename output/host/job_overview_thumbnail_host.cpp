#include "output/job_thumbnails.h"

// The host build has no overview pictures: there is no bitmap to take.
void BuildOverviewThumbnail(JobItem&, void*) {}
