#pragma once
// A project with a value other than the default in every member, and the windows that a save
// would collect, for the project file tests.
#include "project/project_file.h"
#include "volume/volume_types.h"

namespace sulcan::testing {

inline ProjectSettings RichSettings(const std::string& projectPath) {
    ProjectSettings s;
    s.SetProjectPath(projectPath);
    const std::string folder = s.ProjectFolder();
    s.SetFileName(ProjectFile::Anatomy, folder + "data/vAnatomy.dat");
    s.SetFileName(ProjectFile::Classification, folder + "seg.Class");
    s.SetFileName(ProjectFile::GrayGraph, "/elsewhere/left.gray");
    s.SetFileName(ProjectFile::Output, folder + "mesh/left.QxM");
    s.SetFileName(ProjectFile::Image, folder + "slice.tif");
    s.SetFileName(ProjectFile::MovieImage, folder + "movie/frame");
    s.SetFileName(ProjectFile::MovieScript, "/scripts/spin.script");
    s.SetOutputFormat(2);
    s.SetSpareFlag(1);
    s.SetSpareCount(7);
    s.SetMovieFrameSize(320, 240);
    s.SetVolumeSize(256, 200, 124);
    s.SetCsfMean(30);
    s.SetGrayMean(48.5f);
    s.SetWhiteMean(70.25f);
    s.SetNoiseStdev(5);
    s.SetConfidence(0.5f);
    s.SetSmoothness(6);
    s.AddListEntry(OverlayList::Functional, folder + "f1.txt");
    s.AddListEntry(OverlayList::Functional, "/abs/f2.txt");
    s.SetListEnabled(OverlayList::Functional, 1, 0);
    s.AddListEntry(OverlayList::Roi, folder + "roi/r1.txt");
    s.AddListEntry(OverlayList::Cut, folder + "c1.txt");
    s.SetMigrationMode(1);
    s.SetGrowVoxels(4);
    s.SetTopology({1, 2, 3, -16, 7, 1});
    s.SetHandles({PackedVoxel::Pack(1, 2, 3), PackedVoxel::Pack(4, 5, 6), 0x3FFFFFFF});
    s.SetCurrentHandle(2);
    s.SetVoxelSize(1, 1.5f, 2);
    s.SetGrayLayers(3);
    s.SetIsosurfacer(0);
    using F = ProjectSettings::Flag;
    s.SetFlag(F::OverlayRois, 1);
    s.SetFlag(F::ClipFunctionalToRois, 1);
    s.SetFlag(F::OverlayFunctional, 1);
    s.SetFlag(F::OverlayCuts, 1);
    s.SetFlag(F::CurvatureBrightness, 0);
    s.SetFlag(F::SaveOutput, 0);
    s.SetFlag(F::StartViewer, 1);
    SmoothingParameters s1;
    s1.maxIterations = 20;
    s1.skip = 1;
    s.SetSmoothing1(s1);
    SmoothingParameters s2;
    s2.relaxation = 0.3f;
    s.SetSmoothing2(s2);
    DecimationParameters d;
    d.targetTriangles = 9000;
    d.degree = 40;
    s.SetDecimation(d);
    s.SetModulationDepth(0.25f);
    return s;
}

inline ProjectWindows RichWindows(int views) {
    ProjectWindows w;
    w.viewerOpen = true;
    w.viewerMeshFile = "/meshes/shown.QxM";
    w.viewerState.rotation[1] = 45;
    w.viewerState.zoom = 2;
    w.viewerState.lightOn[3] = 1;
    w.viewerState.SetMeshFileName("/meshes/shown.QxM");
    for (int v = 0; v < views; ++v) {
        SliceViewRecord r;
        for (int k = 0; k < SliceViewRecord::kWords; ++k) r.words[k] = 1000 * (v + 1) + k;
        w.views.push_back(r);
    }
    w.activeView = views > 1 ? 1 : 0;
    return w;
}

}  // namespace sulcan::testing
