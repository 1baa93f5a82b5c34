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

}  // namespace sulcan::msg
