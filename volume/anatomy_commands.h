#pragma once
// Loading and replacing the anatomy, and saving the VOI as a new anatomy file.
#include <optional>
#include <string>

#include "volume/CommandContext.h"
#include "volume/anatomy_file.h"

namespace sulcan {

// Reads an anatomy for a new or loaded project and installs it (the classification is the
// caller's). 1 on success; 0 after the range message (suppress flag set) or silently.
int LoadAnatomy(CSulcanDoc& doc, Ui& ui, const std::string& path);

struct AnatomyReplacement {
    AnatomyVolume volume;
    bool resizeClassification = false;
    bool emptyClassification = false;
};
// Reads an anatomy to replace the open one; asks what to do with the classification when the
// sizes differ.
std::optional<AnatomyReplacement> ReadAnatomyForReplace(CSulcanDoc& doc, Ui& ui,
                                                        const std::string& path);

// The "L&oad anatomy" command.
void LoadAnatomyCommand(CommandContext& c);

// Writes the anatomy inside the box as a new anatomy file, with the messages of a failure.
void SaveVoiAsAnatomy(CSulcanDoc& doc, Ui& ui, const VoiBox& box, const std::string& path);
// The "Save &VOI as anatomy" command with the VOI shown in the view.
void SaveVoiAsAnatomyCommand(CommandContext& c, const VoiBox& box);

}  // namespace sulcan
