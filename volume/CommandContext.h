#pragma once
// What a document command needs besides the document: the user, the file locations, and the
// main frame's flags that tell a caller how the last classification save ended.
#include "platform/Ui.h"
#include "project/file_locations.h"
#include "volume/CSulcanDoc.h"

namespace sulcan {

struct SaveFlags {
    bool cancelled = false;  // the user closed a save dialog
    bool failed = false;     // writing failed
};

struct CommandContext {
    CSulcanDoc& doc;
    Ui& ui;
    FileLocations& locations;
    SaveFlags& saveFlags;
};

}  // namespace sulcan
