#pragma once
// Texts the segmentation engine shows, in one place so tests compare against the same strings.
#include "volume/messages.h"

namespace sulcan::msg {

// ---- connected-region selection
inline constexpr const char* kErrorExtractingVoi = "Error extracting VOI!";
inline constexpr const char* kSelectingWhite = "Selecting connected white matter volume";
inline constexpr const char* kDeselectingWhite = "Deselecting connected white matter volume";
inline constexpr const char* kSelectingGray = "Selecting connected gray matter volume";
inline constexpr const char* kDeselectingGray = "Deselecting connected gray matter volume";
inline constexpr const char* kWhiteConnectivity =
    "Connection of white matter is defined by 26-neighbour adjacency.";
inline constexpr const char* kHowToSelectCaption = "How to select white or gray matter volume";
inline constexpr const char* kHowToSelect =
    "To select a White or Gray matter connected volume, hold down the Ctrl key and Left-Click "
    "on any voxel in the volume in question, within the Volume-Of-Interest (VOI).  All voxels "
    "connected to the chosen voxel and within the VOI will be selected.";
inline constexpr const char* kHowToDeselect =
    "To deselect a connected White or Gray matter volume, hold Ctrl and Right-Click on the "
    "volume in question.";

// ---- relabelling commands: processing notices
inline constexpr const char* kDeselectingMatter = "Deselecting matter...";
inline constexpr const char* kDeletingUnselectedWhite = "Deleting unselected white matter...";
inline constexpr const char* kDeletingAllGray = "Deleting all Gray matter...";
inline constexpr const char* kDeletingAllCsf = "Deleting all CSF...";
inline constexpr const char* kClearingClassification = "Clearing classification volume...";

// ---- relabelling commands: status texts
inline constexpr const char* kStatusDeselectWhite =
    "Deselect any selected white matter\nDeselect White";
inline constexpr const char* kStatusDeselectGray =
    "Deselect any selected gray matter\nDeselect Gray";
inline constexpr const char* kStatusDeleteWhite =
    "Delete all unselected white matter\nDelete White";
inline constexpr const char* kStatusDeleteGray = "Delete all gray matter\nDelete Gray";
inline constexpr const char* kStatusDeleteCsf = "Delete all CSF classifications\nDelete CSF";
inline constexpr const char* kStatusClear =
    "Clear Classification Volume (Deletes White, Gray and CSF)\nClear Classification";

// ---- gray matter growing
inline constexpr const char* kGrayUnavailable =
    "Gray matter functions not available!\n(Probably due to a lack of memory)";
inline constexpr const char* kGrayOutOfMemory = "Error! Out of memory.";
inline constexpr const char* kSelectOutOfMemory = "Out of memory!";
inline constexpr const char* kGrowTitle = "Growing %d gray matter layers";
inline constexpr const char* kGrowStatus = "Grow Gray matter layers from white matter";
inline constexpr const char* kContentionWarning =
    "Warning: Contention settings are:\n\nWhite contention: %s\nGray contention: %s\n\nOk to "
    "continue?";
inline constexpr const char* kOn = "ON";
inline constexpr const char* kOff = "OFF";
inline constexpr const char* kGrowLogHead =
    "Growing gray matter with the following contention checks:\nWhite matter contention checks: ";
inline constexpr const char* kGrowLogWhiteOn = "ON\nGray matter contention checks: ";
inline constexpr const char* kGrowLogWhiteOff = "OFF\nGray matter contention checks: ";
inline constexpr const char* kGrowLogGrayOn = "ON\n";
inline constexpr const char* kGrowLogGrayOff = "OFF\n";
inline constexpr const char* kLayerVoxels = "%d voxels in layer %d\nConnecting...\n";
inline constexpr const char* kConnectionsMade = "Connections made... next layer...\n";
inline constexpr const char* kDeletingPartialGray = "Deleting partially grown gray matter...\n";
inline constexpr const char* kLayersMenuStatus = "Set the number of layers of gray matter to grow";
inline constexpr const char* kLayersDialogTitle = "Gray matter layers";
inline constexpr const char* kLayersGroup = "Grow how many layers when growing gray matter?";
inline constexpr const char* kContentionGroup = "Contention settings";
inline constexpr const char* kCheckFor = "Check for:";
inline constexpr const char* kWhiteContention = "White contention";
inline constexpr const char* kGrayContention = "Gray contention";
inline constexpr const char* kContentionNote =
    "Changes to these values will only have affect the next time gray matter is grown.  After "
    "that, the default settings (both contention checks ON) will be used.";

// ---- gray graph file
inline constexpr const char* kSaveGrayStatus =
    "Save selected gray matter as connectivity file\nSave Gray Matter";
inline constexpr const char* kNoGraySelectedHint =
    "No gray matter nodes selected!\n\nTo select gray matter, hold the \"Ctrl\" key and click\nthe "
    "left mouse button on any gray matter voxel within\nthe VOI that is part of the gray matter "
    "volume you\nwant to save.\n";
inline constexpr const char* kGrayFileFilter =
    "Gray Matter Connectivity Files (*.gray, *.*)|*.gray;*.*||";
inline constexpr const char* kGrayDefaultExtension = ".Gray";
inline constexpr const char* kSaveGrayTitle = "Saving gray matter graph";
inline constexpr const char* kSaveGrayCaption = "Save selected gray matter";
inline constexpr const char* kNoGrayToSave = "No gray matter to save!";
inline constexpr const char* kProblemSavingGray = "Problem saving gray matter";
inline constexpr const char* kGrayNodesSaved = "%d gray matter nodes saved to:\n%s";
inline constexpr const char* kNoGrayNodesSelected = "No gray matter nodes selected!";
inline constexpr const char* kCouldNotDeleteTemp = "Could not delete temp file";
inline constexpr const char* kUnableToReadGray = "Error: Unable to read gray matter from file\n%s";

// ---- tissue classification
inline constexpr const char* kClassifyOutOfMemory = "Out of memory!";
inline constexpr const char* kApplyingClassification = "Applying classification";
inline constexpr const char* kPercentComplete = "%d%% Complete";

// ---- threshold tool
inline constexpr const char* kThresholdStatus =
    "Classify within VOI - above threshold = White, below = Unknown";
inline constexpr const char* kThresholdDialogTitle = "Set VOI classify threshold";

}  // namespace sulcan::msg
