#pragma once
// The segmentation document: anatomy and classification volumes of one geometry, the VOI,
// the shared cursor, the change flags and the project settings. Every change of the volumes
// goes through the primitives here (or engine operations that follow the same flag rule).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "project/OverlaySet.h"
#include "project/ProjectSettings.h"
#include "volume/DocumentObserver.h"
#include "volume/relabel.h"
#include "volume/volume_types.h"

namespace sulcan {

struct GrayGraph;  // grown gray matter, owned here once grown

enum EditMode { kEditWhite = 0, kEditCsf = 1, kEditGray = 2 };

enum OverlayKind { kOverlayRoi = 0, kOverlayFunctional = 1, kOverlayCut = 2,
                   kOverlayFunctionalInRoi = 3 };

class CSulcanDoc {
public:
    CSulcanDoc();
    ~CSulcanDoc();
    CSulcanDoc(const CSulcanDoc&) = delete;
    CSulcanDoc& operator=(const CSulcanDoc&) = delete;

    // ---- volumes
    const VolumeDims& dims() const { return dims_; }
    const std::vector<uint8_t>& anatomy() const { return anatomy_; }
    const std::vector<uint8_t>& classification() const { return classification_; }
    // Direct access for engine operations that follow the change-flag rule themselves.
    std::vector<uint8_t>& classificationData() { return classification_; }
    bool AnatomyIsEmpty() const;  // every byte zero (or no anatomy)
    // Installs an anatomy and its dimensions (also into the project settings). The
    // classification is not touched: callers install one of the same size.
    void InstallAnatomy(std::vector<uint8_t> data, const VolumeDims& dims);
    void InstallClassification(std::vector<uint8_t> labels);
    // A new project: a 64^3 zero anatomy when none is given, a zero classification of the
    // anatomy's size, the VOI on the whole volume and the cursor in the centre.
    void StartNewProject(std::vector<uint8_t> anatomy = {}, VolumeDims dims = {64, 64, 64});

    // ---- primitives
    // No bounds or label check. Over a labelled voxel the tissue must match the edit mode
    // (white, CSF, gray; any other mode paints over anything). Returns 1 when stored.
    int PaintVoxel(int32_t x, int32_t y, int32_t z, uint8_t label, int editMode);
    // 0 outside the volume; an illegal stored byte is rewritten to 0.
    uint8_t GetVoxel(int32_t x, int32_t y, int32_t z);
    // Over the whole volume: (byte & mask) == match becomes newLabel.
    void ReplaceLabels(uint8_t mask, uint8_t match, uint8_t newLabel);
    // A relabelling command of the table in relabel.h, with its release of the gray graph.
    void Relabel(const Relabelling& command);
    int HasSelectedGray();
    void ClearClassification();
    const VoiBox& GetVoi() const { return voi_; }
    void SetVoi(const VoiBox& box);
    VoiBox& voi() { return voi_; }  // for ClampVoi by loaders
    bool GetCursor(int32_t& x, int32_t& y, int32_t& z, int32_t& orientation) const;
    const CursorPoint& cursor() const { return cursor_; }
    void SetCursor(int32_t x, int32_t y, int32_t z, int32_t orientation, bool redraw);
    // Shows the cursor and the VOI in the host's status panes again.
    void RefreshStatus();

    // The change-flag rule for a label change from one tissue to another.
    void NoteTissueChange(uint8_t oldTissue, uint8_t newTissue);

    // ---- flags
    bool ClassificationChanged() const { return classificationChanged_; }
    void SetClassificationChanged(bool v) { classificationChanged_ = v; }
    // Reads false (and clears itself) while no gray graph exists.
    bool GrayChanged();
    void SetGrayChanged(bool v) { grayChanged_ = v; }
    bool suppressMessages() const { return suppressMessages_; }
    void SetSuppressMessages(bool v) { suppressMessages_ = v; }
    bool projectValid() const { return projectValid_; }
    void SetProjectValid(bool v) { projectValid_ = v; }
    bool anySelectedGray() const { return anySelectedGray_; }
    void SetAnySelectedGray(bool v) { anySelectedGray_ = v; }
    bool whiteContention = true;
    bool grayContention = true;

    // ---- gray graph
    const std::shared_ptr<GrayGraph>& grayGraph() const { return grayGraph_; }
    void SetGrayGraph(std::shared_ptr<GrayGraph> graph) { grayGraph_ = std::move(graph); }
    void ReleaseGrayGraph();

    // ---- settings, overlays, observers
    ProjectSettings& settings() { return *settings_; }
    const ProjectSettings& settings() const { return *settings_; }
    OverlaySet& overlay(OverlayKind kind) { return overlays_[kind]; }
    void AddObserver(DocumentObserver* view);
    void RemoveObserver(DocumentObserver* view);
    const std::vector<DocumentObserver*>& observers() const { return observers_; }
    void UpdateAllViews(int changeCode);
    void NotifyDimensionsChanged();
    void SetHost(DocumentHost* host) { host_ = host; }
    DocumentHost* host() const { return host_; }

private:
    void ShowVoiStatus();
    VolumeDims dims_{};
    std::vector<uint8_t> anatomy_, classification_;
    VoiBox voi_;
    CursorPoint cursor_;
    std::string cursorText_;
    std::unique_ptr<ProjectSettings> settings_;
    std::array<OverlaySet, 4> overlays_;
    std::shared_ptr<GrayGraph> grayGraph_;
    std::vector<DocumentObserver*> observers_;
    DocumentHost* host_ = nullptr;
    bool suppressMessages_ = false, projectValid_ = false, anySelectedGray_ = false;
    bool grayChanged_ = false, classificationChanged_ = false;
};

}  // namespace sulcan
