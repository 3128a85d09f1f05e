// The job manager's state that the main window and the palette ask about.
#pragma once

// True while a job entry's frame is loaded into the main window for editing.
bool IsEditingJobEntry();
