// Truncated and corrupted anatomy and classification files: every variant either fails and
// leaves the document exactly as it was, or loads a well-formed volume.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/MemoryProfile.h"
#include "tests/support/temp_dir.h"
#include "volume/anatomy_commands.h"
#include "volume/class_commands.h"

namespace sulcan {
namespace {

using testing::TempDir;
using testing::WriteWholeFile;

// Answers every prompt with its first button (OK, Yes, the first choice) and the file queued.
class AgreeingUi : public Ui {
public:
    std::string file;
    int prompts = 0;
    Answer Message(const std::string&, const std::string&, Buttons b, Icon) override {
        ++prompts;
        return AnswersOf(b).front();
    }
    std::optional<FileChoice> ChooseFile(const FileRequest&) override { return FileChoice{file}; }
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<Rgb> ChooseColour(Rgb) override { return std::nullopt; }
    int Ask(const Question&) override { return answer; }
    void ShowProcessing(const std::string&, bool) override {}
    void HideProcessing() override {}
    void SetWaitCursor(bool) override {}
    int answer = 1;  // "Resize Classification"
};

struct DocState {
    VolumeDims dims;
    std::vector<uint8_t> anatomy, labels;
    VoiBox voi;
    ClassificationParameters params;
    bool classChanged;
    std::string classFile;
    bool operator==(const DocState& o) const {
        return dims == o.dims && anatomy == o.anatomy && labels == o.labels && voi == o.voi &&
               params.csfMean == o.params.csfMean && params.smoothness == o.params.smoothness &&
               params.confidence == o.params.confidence && classChanged == o.classChanged &&
               classFile == o.classFile;
    }
};
DocState StateOf(const CSulcanDoc& d) {
    return {d.dims(), d.anatomy(), d.classification(), d.GetVoi(), d.settings().classification(),
            d.ClassificationChanged(), d.settings().FileName(ProjectFile::Classification, false)};
}

void ExpectWellFormed(const CSulcanDoc& d) {
    ASSERT_TRUE(d.dims().valid());
    EXPECT_EQ(d.anatomy().size(), d.dims().voxels());
    EXPECT_EQ(d.classification().size(), d.dims().voxels());
    VoiBox voi = d.GetVoi();
    EXPECT_EQ(ClampVoi(voi, d.dims().x, d.dims().y, d.dims().z), 0);
}

// Calls check(bytes) on every prefix of good and on `flips` random corruptions of it.
template <typename Check>
void ForEachVariant(const std::string& good, int flips, Check check) {
    for (size_t n = 0; n < good.size(); ++n) check(good.substr(0, n), n < good.size());
    uint64_t state = 99;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return uint32_t(state >> 33);
    };
    for (int v = 0; v < flips; ++v) {
        std::string b = good;
        for (int k = 1 + int(next() % 3); k > 0; --k) b[next() % b.size()] ^= char(1 + next() % 255);
        check(b, false);
    }
}

class HostileVolumeFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<uint8_t> anatomy(VolumeDims{4, 3, 2}.voxels(), 5);
        doc.StartNewProject(anatomy, {4, 3, 2});
        doc.classificationData()[3] = Csf;
        doc.SetVoi({1, 0, 0, 2, 2, 1});
        doc.settings().SetFileName(ProjectFile::Classification, "/keep/me.class");
        doc.SetClassificationChanged(false);
    }
    TempDir dir;
    CSulcanDoc doc;
    AgreeingUi ui;
};

TEST_F(HostileVolumeFiles, ClassificationFiles) {
    const std::string path = dir / "good.class";
    ASSERT_EQ(WriteClassFile(doc, ui, doc.GetVoi(), path), 1);
    doc.SetClassificationChanged(false);
    const std::string good = testing::ReadWholeFile(path);
    int loads = 0;
    ForEachVariant(good, 2000, [&](const std::string& bytes, bool mustFail) {
        WriteWholeFile(dir / "v.class", bytes);
        CSulcanDoc fresh;
        fresh.StartNewProject(doc.anatomy(), doc.dims());
        fresh.InstallClassification(doc.classification());
        fresh.SetVoi(doc.GetVoi());
        fresh.settings().SetFileName(ProjectFile::Classification, "/keep/me.class");
        fresh.SetClassificationChanged(false);
        const DocState before = StateOf(fresh);
        if (LoadClassification(fresh, ui, dir / "v.class")) {
            EXPECT_FALSE(mustFail) << "a file cut at " << bytes.size() << " loaded";
            ExpectWellFormed(fresh);
            ++loads;
        } else {
            EXPECT_TRUE(StateOf(fresh) == before) << "failed load changed the document";
        }
    });
    EXPECT_GT(loads, 0);
}

TEST_F(HostileVolumeFiles, AnatomyFiles) {
    const std::string good = std::string("rows 3\ncols 4\nplanes 2\n*\n") + std::string(24, '\x07');
    MemoryProfile profile;
    FileLocations locations(profile);
    SaveFlags flags;
    CommandContext context{doc, ui, locations, flags};
    ui.file = dir / "v.dat";
    ForEachVariant(good, 2000, [&](const std::string& bytes, bool mustFail) {
        WriteWholeFile(dir / "v.dat", bytes);
        doc.settings().SetFileName(ProjectFile::Anatomy, "");  // a load sets it again
        const DocState before = StateOf(doc);
        LoadAnatomyCommand(context);
        if (doc.settings().FileName(ProjectFile::Anatomy, false).empty()) {
            EXPECT_TRUE(StateOf(doc) == before) << "failed load changed the document";
        } else {
            EXPECT_FALSE(mustFail) << "a file cut at " << bytes.size() << " loaded";
            ExpectWellFormed(doc);
        }
    });
}

}  // namespace
}  // namespace sulcan
