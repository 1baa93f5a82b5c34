#include <cstdio>
#include <ostream>

#include "app/tool/tool_args.h"
#include "app/tool/tool_commands.h"
#include "platform/byte_io.h"
#include "volume/anatomy_file.h"
#include "volume/class_file.h"
#include "volume/file_error.h"
#include "volume/phantom.h"

namespace sulcan::tool {

const char* const kPhantomHelp =
    "usage: sulcan-tool phantom OUT.dat [options]\n"
    "\n"
    "Writes a synthetic brain-like anatomy volume: a folded white matter body under a gray\n"
    "ribbon and a CSF layer, with Gaussian noise. The same options and seed always give the\n"
    "same volume. An existing OUT.dat is replaced.\n"
    "\n"
    "options:\n"
    "  --size N          edge of the cubic volume, 32..512 (default 128)\n"
    "  --seed S          seed of the folding and the noise (default 1)\n"
    "  --noise D         noise standard deviation, 0..100 (default 3)\n"
    "  --handles K       tunnels through the white matter, 0..4 (default 0)\n"
    "  --cavity          add an enclosed pocket inside the white matter\n"
    "  --satellite       add a separate white matter island\n"
    "  --labels OUT.class  also write the true labels as a classification file\n";

namespace {

int WriteLabels(const std::string& path, const Phantom& p, Streams io) {
    File file(path, "wb");
    if (!file) {
        io.err << "sulcan-tool: cannot create " << path << ": "
               << FileErrorTextOfErrno(file.openError()) << "\n";
        return kExitFailure;
    }
    ClassFileHeader header;
    header.dims = p.dims;
    header.voi = VoiBox::Whole(p.dims);
    ClassWriteResult result = WriteClassVolume(file.get(), header, p.labels.data());
    bool closed = file.Close();
    if (result.status != ClassWriteStatus::Ok || !closed) {
        io.err << "sulcan-tool: writing " << path << " failed: "
               << FileErrorTextOfErrno(result.error) << "\n";
        std::remove(path.c_str());
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

int RunPhantom(const std::vector<std::string>& argv, Streams io) {
    Args args;
    ArgSpec spec{{"size", "seed", "noise", "handles", "labels"}, {"cavity", "satellite", "help"}, {}};
    std::string error = args.Parse(argv, spec);
    if (args.Has("help")) {
        io.out << kPhantomHelp;
        return kExitOk;
    }
    PhantomOptions o;
    long size = o.size, seed = o.seed, handles = o.handles;
    if (error.empty()) error = args.Int("size", kMinPhantomSize, kMaxPhantomSize, size);
    if (error.empty()) error = args.Int("seed", 0, 4294967295L, seed);
    if (error.empty()) error = args.Int("handles", 0, kMaxPhantomHandles, handles);
    if (error.empty()) error = args.Real("noise", 0, 100, o.noise);
    if (error.empty() && args.positional().size() != 1)
        error = "give exactly one output file";
    if (!error.empty()) {
        io.err << "sulcan-tool phantom: " << error << "\n" << kPhantomHelp;
        return kExitUsage;
    }
    o.size = int(size);
    o.seed = uint32_t(seed);
    o.handles = int(handles);
    o.cavity = args.Has("cavity");
    o.satellite = args.Has("satellite");

    Phantom p = MakePhantom(o);
    const std::string out = args.positional()[0];
    AnatomyWriteResult written = WriteAnatomyFile(out, p.anatomy.data(), p.dims,
                                                  VoiBox::Whole(p.dims));
    if (written.status != AnatomyWriteStatus::Ok) {
        io.err << "sulcan-tool: writing " << out << " failed: "
               << FileErrorTextOfErrno(written.error) << "\n";
        return kExitFailure;
    }
    if (auto labels = args.Value("labels")) {
        if (int rc = WriteLabels(*labels, p, io); rc != kExitOk) return rc;
    }
    io.out << "wrote " << out << " (" << o.size << "x" << o.size << "x" << o.size << ", seed "
           << o.seed << ", " << o.handles << " handle(s)" << (o.cavity ? ", cavity" : "")
           << (o.satellite ? ", satellite" : "") << ")\n";
    return kExitOk;
}

}  // namespace sulcan::tool
