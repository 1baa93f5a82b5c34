#include "slices/view_frames.h"
