#pragma once
// A Ui for tests: records every prompt with its exact text and caption and answers from a
// queue the test fills in advance. A prompt nobody queued an answer for, or of another kind
// than the one queued, fails the running test; so does an answer left unused at the end.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace sulcan::testing {

struct Prompt {
    enum class Kind { Message, File, Folder, Colour, Question };
    Kind kind = Kind::Message;
    std::string text;     // message text; for a question its lines joined by "\n"
    std::string caption;  // message caption, dialog title or question caption
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    FileRequest file;
    Question question;
};

class ScriptedUi : public Ui {
public:
    ~ScriptedUi() override;

    // Queue the answer to the next message box; with a text, the box must show exactly it.
    ScriptedUi& Reply(Answer answer);
    ScriptedUi& Expect(const std::string& text, Answer answer = Answer::Ok);
    ScriptedUi& Expect(const std::string& text, const std::string& caption,
                       Answer answer = Answer::Ok);
    // Queue the next file dialog's choice; Cancel* closes it.
    ScriptedUi& ChooseFileAs(const std::string& path, int filterIndex = 0);
    ScriptedUi& CancelFile();
    ScriptedUi& ChooseFolderAs(const std::string& folder);
    ScriptedUi& CancelFolder();
    ScriptedUi& ChooseColourAs(Rgb colour);
    ScriptedUi& CancelColour();
    // Queue the button (by caption) pressed in the next question dialog.
    ScriptedUi& Press(const std::string& button);

    const std::vector<Prompt>& prompts() const { return prompts_; }
    // Texts of all prompts so far, in order.
    std::vector<std::string> texts() const;
    bool allAnswered() const { return script_.empty(); }

    Answer Message(const std::string& text, const std::string& caption, Buttons buttons,
                   Icon icon) override;
    std::optional<FileChoice> ChooseFile(const FileRequest& request) override;
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& initialFolder) override;
    std::optional<Rgb> ChooseColour(Rgb initial) override;
    int Ask(const Question& question) override;
    // Notices need no answer: they are recorded, and the nesting is checked.
    void ShowProcessing(const std::string& text, bool waitCursor) override;
    void HideProcessing() override;
    void SetWaitCursor(bool on) override { waitCursorDepth_ += on ? 1 : -1; }
    int waitCursorDepth() const { return waitCursorDepth_; }
    const std::vector<std::string>& notices() const { return notices_; }
    int noticeDepth() const { return noticeDepth_; }

private:
    struct Step {
        explicit Step(Prompt::Kind k) : kind(k) {}
        Prompt::Kind kind;
        bool checkText = false, checkCaption = false;
        std::string text, caption;
        Answer answer = Answer::Ok;
        bool cancel = false;    // a chooser closed without a choice
        std::string value;      // file, folder or button caption
        int filterIndex = 0;
        Rgb colour;
    };
    ScriptedUi& Queue(Step step);
    const Step* Next(const Prompt& prompt);
    Step current_{Prompt::Kind::Message};

    std::deque<Step> script_;
    std::vector<Prompt> prompts_;
    std::vector<std::string> notices_;
    int noticeDepth_ = 0;
    int waitCursorDepth_ = 0;
};

}  // namespace sulcan::testing
