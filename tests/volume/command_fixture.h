#pragma once
// A document with a small anatomy, a scripted user, an in-memory profile and a temporary
// folder: what the document command tests share.
#include <gtest/gtest.h>

#include "platform/MemoryProfile.h"
#include "platform/testing/ScriptedUi.h"
#include "tests/support/temp_dir.h"
#include "volume/CommandContext.h"

namespace sulcan::testing {

class CommandTest : public ::testing::Test {
protected:
    CommandTest() : locations(profile), context{doc, ui, locations, flags} {}

    // An anatomy of the given size with a non-zero ramp, a zero classification.
    void StartProject(VolumeDims dims) {
        std::vector<uint8_t> anatomy(dims.voxels());
        for (size_t i = 0; i < anatomy.size(); ++i) anatomy[i] = uint8_t(1 + i % 250);
        doc.StartNewProject(std::move(anatomy), dims);
        doc.SetClassificationChanged(false);
    }
    uint8_t& Label(int x, int y, int z) {
        return doc.classificationData()[doc.dims().index(x, y, z)];
    }

    TempDir dir;
    CSulcanDoc doc;
    ScriptedUi ui;
    MemoryProfile profile;
    FileLocations locations;
    SaveFlags flags;
    CommandContext context;
};

}  // namespace sulcan::testing
