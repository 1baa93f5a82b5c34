#pragma once
// How the document tells the rest of the program about its changes.
#include <string>

namespace sulcan {

// Change codes sent to every view.
enum ChangeCode {
    kChangeGreyTable = 0,       // greyscale table or threshold preview
    kChangeVolumesReplaced = 1, // classification loaded, "Sync slice views"
    kChangeClassEdited = 2,     // deselect, delete, classification, topology repair
    kChangeCursor = 3,          // cursor moved by a slice view or picked in 3D
    kChangeVoi = 4,             // VOI changed by a slice view
    kChangeRepaint = 5,         // crossbars and marks only
    kChangeGreySettings = 6,
    kChangeOverlays = 7,
};

// A view of the document (the slice views).
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    virtual void OnDocumentChanged(int changeCode) = 0;
    // The volume dimensions changed: the view lays itself out anew.
    virtual void OnDimensionsChanged() {}
};

// The main frame's part: status panes and the 3D view.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    virtual void ShowCursorStatus(const std::string& text) = 0;
    virtual void ShowVoiStatus(const std::string& text) = 0;
    // Redraws the 3D viewer when it is open and highlights the current point or slice.
    virtual void RedrawViewerHighlights() {}
};

}  // namespace sulcan
