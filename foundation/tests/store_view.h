// A store's own account of its records, one line per record: type, index,
// id, data size, name and data (hex), tab-separated, for the record types the
// tests use. The independent reader and the cross-configuration check
// compare against it.
#pragma once

#include <string>
#include <vector>

#include "foundation/file_io.h"

std::vector<std::string> StoreView(FileHandle store);
