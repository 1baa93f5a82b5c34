#include "slices/SliceViewModel.h"
