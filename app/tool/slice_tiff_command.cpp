// sulcan-tool slice-tiff: one slice picture, as the slice view draws it, written as TIFF.
#include <ostream>
#include <sstream>

#include "app/tool/tool_args.h"
#include "app/tool/tool_commands.h"
#include "platform/console/ConsoleUi.h"
#include "slices/grey_table.h"
#include "slices/image_export.h"
#include "slices/slice_picture.h"
#include "slices/tiff_writer.h"
#include "volume/anatomy_commands.h"
#include "volume/class_commands.h"

namespace sulcan::tool {

const char* const kSliceTiffHelp =
    "usage: sulcan-tool slice-tiff ANAT.dat [options] OUT.tif\n"
    "\n"
    "Writes one slice of the anatomy, with the chosen label overlays, at one pixel per voxel.\n"
    "\n"
    "options:\n"
    "  --class FILE        the classification to overlay\n"
    "  --orientation O     0 sagittal (fixed z), 1 axial (fixed y), 2 coronal (fixed x);\n"
    "                      default 0\n"
    "  --slice N           the slice index (default: the middle one)\n"
    "  --overlays LIST     comma-separated: white,csf,gray (default: none)\n"
    "  --brightness B      0..1 (default 0.64)\n"
    "  --contrast C        0..1 (default 0.43)\n"
    "  --gamma G           0.5..3 (default 1.2)\n";

namespace {

std::string ParseOverlays(const std::string& list, OverlaySwitches& on) {
    std::stringstream items(list);
    std::string item;
    while (std::getline(items, item, ',')) {
        if (item == "white") on.white = true;
        else if (item == "csf") on.csf = true;
        else if (item == "gray") on.gray = true;
        else if (!item.empty()) return "unknown overlay \"" + item + "\" (white, csf, gray)";
    }
    return {};
}

struct SliceRequest {
    long orientation = 0, slice = -1;
    GreyParameters grey;
    OverlaySwitches on;
};

std::string ParseRequest(const Args& args, SliceRequest& r) {
    std::string error = args.Int("orientation", 0, 2, r.orientation);
    if (error.empty()) error = args.Int("slice", 0, 1022, r.slice);
    if (error.empty()) error = args.Real("brightness", 0, 1, r.grey.brightness);
    if (error.empty()) error = args.Real("contrast", 0, 1, r.grey.contrast);
    if (error.empty()) error = args.Real("gamma", 0.5, 3, r.grey.gamma);
    r.on.positionCrossbars = r.on.voiCrossbars = false;
    if (error.empty() && args.Value("overlays")) error = ParseOverlays(*args.Value("overlays"), r.on);
    if (error.empty() && args.positional().size() != 2) error = "give the anatomy and the output file";
    return error;
}

int WriteSlice(CSulcanDoc& doc, const SliceRequest& r, const std::string& out, Streams io) {
    const int depth = SliceGeometryOf(int(r.orientation), doc.dims()).depth;
    const int slice = r.slice < 0 ? depth / 2 : int(r.slice);
    GreyTable grey;
    grey.Build(r.grey, DisplayFormat::Rgb32);
    const DisplayColours colours = BuildDisplayColours(DefaultDisplayColoursRgb(), DisplayFormat::Rgb32);
    auto picture = BuildSlicePicture(SliceSourceOf(doc), int(r.orientation), slice, r.on,
                                     {grey, colours, DisplayFormat::Rgb32});
    if (!picture) {
        io.err << "sulcan-tool: slice " << slice << " is outside the volume (0.." << depth - 1 << ")\n";
        return kExitFailure;
    }
    PictureRef ref{picture->pixels.data(), picture->width, picture->height, picture->rowBytes,
                   picture->format, nullptr};
    auto image = CaptureSlicePicture(ref, {});
    if (!image || !WriteTiffFile(*image, out)) {
        io.err << "sulcan-tool: writing " << out << " failed\n";
        return kExitFailure;
    }
    io.out << "wrote " << out << " (" << picture->width << "x" << picture->height << ", slice "
           << slice << ")\n";
    return kExitOk;
}

}  // namespace

int RunSliceTiff(const std::vector<std::string>& argv, Streams io) {
    Args args;
    ArgSpec spec{{"class", "orientation", "slice", "overlays", "brightness", "contrast", "gamma"},
                 {"help"},
                 {}};
    std::string error = args.Parse(argv, spec);
    if (args.Has("help")) {
        io.out << kSliceTiffHelp;
        return kExitOk;
    }
    SliceRequest request;
    if (error.empty()) error = ParseRequest(args, request);
    if (!error.empty()) {
        io.err << "sulcan-tool slice-tiff: " << error << "\n" << kSliceTiffHelp;
        return kExitUsage;
    }
    ConsoleUi ui(io.answers, io.err);
    CSulcanDoc doc;
    if (!LoadAnatomy(doc, ui, args.positional()[0])) {
        io.err << "sulcan-tool: Unable to load volume anatomy!\n";
        return kExitFailure;
    }
    doc.StartNewProject(doc.anatomy(), doc.dims());
    if (auto cls = args.Value("class"); cls && !LoadClassification(doc, ui, *cls)) return kExitFailure;
    return WriteSlice(doc, request, args.positional()[1], io);
}

}  // namespace sulcan::tool
