// Resource ids of the photo program.
#pragma once

#define IDD_PHOTOREFINER_MAIN 102
