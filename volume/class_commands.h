#pragma once
// Reading, loading and saving the classification file, and the "Classification..." commands.
#include <optional>
#include <string>
#include <vector>

#include "volume/CommandContext.h"
#include "volume/class_file.h"

namespace sulcan {

struct ClassFileContents {
    ClassFileHeader header;
    std::vector<uint8_t> labels;
    bool resizeClassification = false;  // fit the labels to the open anatomy
    bool resizeAnatomy = false;         // fit the empty anatomy to the labels
};

// Reads and checks a classification file, asking about a size mismatch; nothing on failure
// (after the reader's messages).
std::optional<ClassFileContents> ReadClassFile(CSulcanDoc& doc, Ui& ui, const std::string& path);
// Replaces the classification (and VOI and parameters) from a file. 1 on success; on failure
// the document is as it was.
int LoadClassification(CSulcanDoc& doc, Ui& ui, const std::string& path);
// Writes the classification, keeping the previous file as path + ".backup".
int WriteClassFile(CSulcanDoc& doc, Ui& ui, const VoiBox& voi, const std::string& path);
int SaveClassification(CommandContext& c, const std::string& path);
void SaveClassificationAs(CommandContext& c);

// When the classification changed: asks `question` (Yes / No / Cancel), and Yes saves it under
// the project's name; a failed save (not a cancelled one) asks `goOnAnyway` (Yes / No). False
// when the caller must stop.
bool OfferToSaveClassification(CommandContext& c, const char* question, const char* goOnAnyway);

// The "Loa&d", "Sav&e" and "Save as..." commands.
void LoadClassificationCommand(CommandContext& c);
bool SaveClassificationEnabled(const CSulcanDoc& doc);
void SaveClassificationCommand(CommandContext& c);
void SaveClassificationAsCommand(CommandContext& c);

}  // namespace sulcan
