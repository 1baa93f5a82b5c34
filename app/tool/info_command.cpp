#include <algorithm>
#include <climits>
#include <cstdio>
#include <cctype>
#include <cstring>
#include <ostream>

#include "app/tool/report.h"
#include "app/tool/tool_args.h"
#include "app/tool/tool_commands.h"
#include "platform/byte_io.h"
#include "platform/format.h"
#include "project/overlay_file.h"
#include "project/project_file.h"
#include "segment/gray_file.h"
#include "segment/messages.h"
#include "platform/console/ConsoleUi.h"
#include "platform/paths.h"
#include "volume/anatomy_file.h"
#include "volume/class_commands.h"
#include "volume/messages.h"

namespace sulcan::tool {

const char* const kInfoHelp =
    "usage: sulcan-tool info FILE [--json]\n"
    "\n"
    "Prints every setting of a project file (.qxp), the size and intensity range of an\n"
    "anatomy volume file (.dat), the header and label counts of a classification file\n"
    "(.class), the node and edge counts, layers and ranges of a gray graph file (.gray),\n"
    "or the palette and point bounds of an overlay point file.\n"
    "\n"
    "options:\n"
    "  --json            machine-readable output\n";

namespace {

const char* const kFileKeys[] = {"anatomyFile",  "classificationFile", "grayGraphFile",
                                 "outputFile",   "imageFile",          "movieImageFile",
                                 "movieScriptFile", "viewerMeshFile"};
const char* const kListKeys[] = {"functional", "roi", "cut"};

void AddSmoothing(Report& r, const std::string& p, const SmoothingParameters& s) {
    r.Add(p + ".convergence", double(s.convergence));
    r.Add(p + ".maxIterations", s.maxIterations);
    r.Add(p + ".relaxation", double(s.relaxation));
    r.Add(p + ".featureAngle", double(s.featureAngle));
    r.Add(p + ".edgeAngle", double(s.edgeAngle));
    r.Add(p + ".featureEdgeSmoothing", s.featureEdgeSmoothing);
    r.Add(p + ".boundarySmoothing", s.boundarySmoothing);
    r.Add(p + ".skip", s.skip);
}

void AddDecimation(Report& r, const DecimationParameters& d) {
    const std::string p = "decimation";
    r.Add(p + ".initialFeatureAngle", double(d.initialFeatureAngle));
    r.Add(p + ".featureAngleIncrement", double(d.featureAngleIncrement));
    r.Add(p + ".maxFeatureAngle", double(d.maxFeatureAngle));
    r.Add(p + ".preserveEdges", d.preserveEdges);
    r.Add(p + ".boundaryVertexDeletion", d.boundaryVertexDeletion);
    r.Add(p + ".initialError", double(d.initialError));
    r.Add(p + ".errorIncrement", double(d.errorIncrement));
    r.Add(p + ".maxError", double(d.maxError));
    r.Add(p + ".maxIterations", d.maxIterations);
    r.Add(p + ".maxSubIterations", d.maxSubIterations);
    r.Add(p + ".aspectRatio", double(d.aspectRatio));
    r.Add(p + ".degree", d.degree);
    r.Add(p + ".preserveTopology", d.preserveTopology);
    r.Add(p + ".targetTriangles", d.targetTriangles);
    r.Add(p + ".skip", d.skip);
}

void AddViewerState(Report& r, const ViewerState& v) {
    const std::string p = "viewerState.";
    r.Add(p + "meshFile", v.MeshFileName());
    const char* axes[] = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i) r.Add(p + "rotation." + axes[i], double(v.rotation[i]));
    r.Add(p + "pan.x", double(v.pan[0]));
    r.Add(p + "pan.y", double(v.pan[1]));
    r.Add(p + "zoom", double(v.zoom));
    for (int i = 0; i < 3; ++i) r.Add(p + "spinAxis." + axes[i], double(v.spinAxis[i]));
    r.Add(p + "spinRpm", double(v.spinRpm));
    r.Add(p + "useLighting", v.useLighting);
    r.Add(p + "showLights", v.showLights);
    r.Add(p + "showCurrentPoint", v.showCurrentPoint);
    r.Add(p + "showCurrentSlice", v.showCurrentSlice);
    r.Add(p + "smoothShading", v.smoothShading);
    r.Add(p + "pointsOnly", v.pointsOnly);
    r.Add(p + "gloss", double(v.gloss));
    int on = 0;
    for (int i = 0; i < ViewerState::kLights; ++i) on += v.lightOn[i] ? 1 : 0;
    r.Add(p + "lightsOn", on);
}

void ReportProject(const ProjectSettings& s, Report& r) {
    using F = ProjectSettings::Flag;
    r.Add("type", "project");
    r.Add("projectPath", s.projectPath());
    r.Add("projectName", s.projectName());
    for (int i = 0; i < kProjectFileCount; ++i)
        r.Add(kFileKeys[i], s.FileName(ProjectFile(i), false));
    r.Add("outputFormat", s.outputFormat());
    r.Add("movieFrameWidth", int(s.movieFrameWidth()));
    r.Add("movieFrameHeight", int(s.movieFrameHeight()));
    r.Add("xsize", s.xsize());
    r.Add("ysize", s.ysize());
    r.Add("zsize", s.zsize());
    const ClassificationParameters& c = s.classification();
    r.Add("csfMean", double(c.csfMean));
    r.Add("grayMean", double(c.grayMean));
    r.Add("whiteMean", double(c.whiteMean));
    r.Add("noiseStdev", double(c.noiseStdev));
    r.Add("confidence", double(c.confidence));
    r.Add("smoothness", c.smoothness);
    for (int l = 0; l < kOverlayListCount; ++l) {
        const std::string key = std::string(kListKeys[l]) + "List";
        r.Add(key + ".count", s.ListCount(OverlayList(l)));
        for (int k = 0; k < s.ListCount(OverlayList(l)); ++k) {
            const std::string item = key + "[" + std::to_string(k) + "]";
            r.Add(item, s.ListEntry(OverlayList(l), k, false));
            r.Add(item + ".enabled", s.ListEnabled(OverlayList(l), k));
        }
    }
    r.Add("migrationMode", s.migrationMode());
    r.Add("growVoxels", s.growVoxels());
    r.Add("handleListCount", int(s.handles().size()));
    r.Add("currentHandle", s.currentHandle());
    r.Add("voxelSize.x", double(s.voxelSize()[0]));
    r.Add("voxelSize.y", double(s.voxelSize()[1]));
    r.Add("voxelSize.z", double(s.voxelSize()[2]));
    r.Add("grayLayers", s.grayLayers());
    r.Add("isosurfacer", s.isosurfacer());
    r.Add("overlayROIs", s.flag(F::OverlayRois));
    r.Add("clipFunctionalToROIs", s.flag(F::ClipFunctionalToRois));
    r.Add("overlayFunctional", s.flag(F::OverlayFunctional));
    r.Add("overlayCuts", s.flag(F::OverlayCuts));
    AddSmoothing(r, "smoothing1", s.smoothing1());
    AddDecimation(r, s.decimation());
    AddSmoothing(r, "smoothing2", s.smoothing2());
    r.Add("curvatureBrightness", s.flag(F::CurvatureBrightness));
    r.Add("modulationDepth", double(s.modulationDepth()));
    r.Add("saveOutput", s.flag(F::SaveOutput));
    r.Add("startViewer", s.flag(F::StartViewer));
    r.Add("viewerOpen", s.flag(F::ViewerOpen));
    AddViewerState(r, s.viewerState());
    r.Add("viewCount", int(s.viewRecords().size()));
}

void ReportAnatomy(const std::string& path, const AnatomyVolume& a, Report& r) {
    r.Add("type", "anatomy");
    r.Add("path", path);
    r.Add("cols", a.dims.x);
    r.Add("rows", a.dims.y);
    r.Add("planes", a.dims.z);
    unsigned lo = 255, hi = 0, nonzero = 0;
    double sum = 0;
    for (uint8_t v : a.data) {
        lo = std::min<unsigned>(lo, v);
        hi = std::max<unsigned>(hi, v);
        nonzero += v != 0;
        sum += v;
    }
    r.Add("minimum", int(lo));
    r.Add("maximum", int(hi));
    r.Add("mean", a.data.empty() ? 0.0 : sum / double(a.data.size()));
    r.Add("nonzeroVoxels", (long long)nonzero);
}

const char* AnatomyFailure(AnatomyReadStatus s) {
    switch (s) {
        case AnatomyReadStatus::OpenFailed: return "cannot be opened";
        case AnatomyReadStatus::BadHeader: return "has no rows/cols/planes header";
        case AnatomyReadStatus::DimensionsOutOfRange: return msg::kAnatomyDimensionsOutOfRange;
        case AnatomyReadStatus::NoDataMarker: return "has no \"*\" line ending its header";
        case AnatomyReadStatus::ShortData: return "is shorter than its dimensions say";
        case AnatomyReadStatus::OutOfMemory: return "is too large for the memory available";
        case AnatomyReadStatus::Ok: break;
    }
    return "";
}

void ReportClassification(const std::string& path, const ClassFileContents& c, Report& r) {
    const ClassFileHeader& h = c.header;
    r.Add("type", "classification");
    r.Add("path", path);
    r.Add("version", h.version);
    r.Add("minor", h.minor);
    r.Add("xsize", h.dims.x);
    r.Add("ysize", h.dims.y);
    r.Add("zsize", h.dims.z);
    r.Add("voi", Format("%d..%d, %d..%d, %d..%d", h.voi.xmin, h.voi.xmax, h.voi.ymin, h.voi.ymax,
                        h.voi.zmin, h.voi.zmax));
    r.Add("csfMean", double(h.csfMean));
    r.Add("grayMean", double(h.grayMean));
    r.Add("whiteMean", double(h.whiteMean));
    r.Add("stdev", double(h.stdev));
    r.Add("confidence", double(h.confidence));
    r.Add("smoothness", h.smoothness);
    long long white = 0, csf = 0, other = 0;
    for (uint8_t v : c.labels) {
        white += v == White;
        csf += v == Csf;
        other += v != White && v != Csf && v != 0;
    }
    r.Add("whiteVoxels", white);
    r.Add("csfVoxels", csf);
    r.Add("otherNonZeroVoxels", other);
}

void ReportOverlay(const std::string& path, const OverlayFileSummary& o, Report& r) {
    r.Add("type", "overlay");
    r.Add("path", path);
    r.Add("paletteSize", o.paletteSize);
    r.Add("pointLines", (long long)o.pointLines);
    if (o.hasBounds) {
        const char* axes[] = {"x", "y", "z"};
        for (int a = 0; a < 3; ++a)
            r.Add(std::string(axes[a]) + "Range", Format("%.0f..%.0f", o.min[a], o.max[a]));
    }
}

void ReportGray(const std::string& path, const GrayFileContents& c, Report& r) {
    r.Add("type", "gray");
    r.Add("path", path);
    r.Add("xsize", c.xsize);
    r.Add("ysize", c.ysize);
    r.Add("zsize", c.zsize);
    r.Add("nodes", c.nodeCount);
    r.Add("edges", c.edgeCount);
    int32_t lo[4], hi[4];
    for (int a = 0; a < 4; ++a) lo[a] = INT32_MAX, hi[a] = INT32_MIN;
    for (const GrayFileNode& n : c.nodes) {
        const int32_t v[4] = {n.x, n.y, n.z, n.layer};
        for (int a = 0; a < 4; ++a) lo[a] = std::min(lo[a], v[a]), hi[a] = std::max(hi[a], v[a]);
    }
    r.Add("layers", hi[3]);
    const char* names[] = {"xRange", "yRange", "zRange", "layerRange"};
    for (int a = 0; a < 4; ++a) r.Add(names[a], Format("%d..%d", lo[a], hi[a]));
}

enum class FileKind { Project, Classification, Gray, Other };

FileKind KindOf(const std::string& path) {
    File f(path, "rb");
    char head[14] = {};
    const size_t n = f ? std::fread(head, 1, sizeof head, f.get()) : 0;
    if (n == sizeof head && std::memcmp(head, "sulcanproject", 14) == 0) return FileKind::Project;
    std::string ext = path.substr(path.size() - std::min<size_t>(path.size(), 6));
    for (char& ch : ext) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    if (std::strncmp(head, "version=", 8) == 0 || ext == ".class") return FileKind::Classification;
    if (ext.size() >= 5 && ext.compare(ext.size() - 5, 5, ".gray") == 0) return FileKind::Gray;
    return FileKind::Other;
}

}  // namespace

int RunInfo(const std::vector<std::string>& argv, Streams io) {
    Args args;
    std::string error = args.Parse(argv, {{}, {"json", "help"}, {}});
    if (args.Has("help")) {
        io.out << kInfoHelp;
        return kExitOk;
    }
    if (error.empty() && args.positional().size() != 1) error = "give exactly one file";
    if (!error.empty()) {
        io.err << "sulcan-tool info: " << error << "\n" << kInfoHelp;
        return kExitUsage;
    }
    const std::string path = args.positional()[0];
    Report report;
    const FileKind kind = KindOf(path);
    if (kind == FileKind::Classification) {
        CSulcanDoc doc;  // no anatomy: the file's size is taken without a question
        ConsoleUi ui(io.answers, io.err);
        auto contents = ReadClassFile(doc, ui, path);
        if (!contents) return kExitFailure;
        ReportClassification(path, *contents, report);
    } else if (kind == FileKind::Gray) {
        const auto contents = ReadGrayFile(path);
        if (!contents) {
            io.err << "sulcan-tool: " << Format(msg::kUnableToReadGray, path.c_str()) << "\n";
            return kExitFailure;
        }
        ReportGray(path, *contents, report);
    } else if (kind == FileKind::Project) {
        ProjectSettings settings;
        if (!LoadProjectFile(settings, path)) {
            io.err << "sulcan-tool: " << path << ": Error: Invalid project file or file not found\n";
            return kExitFailure;
        }
        ReportProject(settings, report);
    } else {
        AnatomyVolume anatomy;
        const AnatomyReadStatus status = ReadAnatomyFile(path, anatomy);
        const OverlayFileSummary overlay =
            status == AnatomyReadStatus::BadHeader ? SummariseOverlayFile(path) : OverlayFileSummary{};
        if (status == AnatomyReadStatus::Ok) {
            ReportAnatomy(path, anatomy, report);
        } else if (overlay.opened && !overlay.error) {
            ReportOverlay(path, overlay, report);
        } else {
            io.err << "sulcan-tool: " << path << ": not a project, overlay or anatomy file; as an "
                   << "anatomy file it " << AnatomyFailure(status) << "\n";
            if (overlay.error)
                io.err << "sulcan-tool: as an overlay file: error in its " << overlay.error->part
                       << " at line " << overlay.error->line << "\n";
            return kExitFailure;
        }
    }
    if (args.Has("json"))
        report.PrintJson(io.out);
    else
        report.PrintText(io.out);
    return kExitOk;
}

}  // namespace sulcan::tool
