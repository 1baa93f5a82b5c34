#include "slices/slice_drawing.h"
