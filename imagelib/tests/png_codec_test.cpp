#include "codec_cases.h"
