#include "slices/view_dialogs.h"
