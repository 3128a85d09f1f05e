// The open dialog's file preview drawn by the image readers.
#pragma once

// Installs the readers as the preview source of the open dialog.
void InstallReaderThumbnailSource();
