#include "platform/testing/ScriptedUi.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sulcan::testing {

namespace {
const char* KindName(Prompt::Kind k) {
    switch (k) {
        case Prompt::Kind::Message: return "message box";
        case Prompt::Kind::File: return "file dialog";
        case Prompt::Kind::Folder: return "folder chooser";
        case Prompt::Kind::Colour: return "colour chooser";
        case Prompt::Kind::Question: return "question dialog";
    }
    return "?";
}
}  // namespace

ScriptedUi::~ScriptedUi() {
    if (noticeDepth_ != 0) ADD_FAILURE() << "processing notice left open " << noticeDepth_ << " deep";
    if (waitCursorDepth_ != 0) ADD_FAILURE() << "wait cursor left on " << waitCursorDepth_ << " deep";
    if (!script_.empty())
        ADD_FAILURE() << script_.size() << " scripted answer(s) left unused; next expected a "
                      << KindName(script_.front().kind)
                      << (script_.front().checkText ? " \"" + script_.front().text + "\"" : "");
}

ScriptedUi& ScriptedUi::Queue(Step step) {
    script_.push_back(std::move(step));
    return *this;
}

ScriptedUi& ScriptedUi::Reply(Answer answer) {
    Step s(Prompt::Kind::Message);
    s.answer = answer;
    return Queue(s);
}
ScriptedUi& ScriptedUi::Expect(const std::string& text, Answer answer) {
    Step s(Prompt::Kind::Message);
    s.checkText = true;
    s.text = text;
    s.answer = answer;
    return Queue(s);
}
ScriptedUi& ScriptedUi::Expect(const std::string& text, const std::string& caption,
                               Answer answer) {
    Step s(Prompt::Kind::Message);
    s.checkText = s.checkCaption = true;
    s.text = text;
    s.caption = caption;
    s.answer = answer;
    return Queue(s);
}
ScriptedUi& ScriptedUi::ChooseFileAs(const std::string& path, int filterIndex) {
    Step s(Prompt::Kind::File);
    s.value = path;
    s.filterIndex = filterIndex;
    return Queue(s);
}
ScriptedUi& ScriptedUi::CancelFile() {
    Step s(Prompt::Kind::File);
    s.cancel = true;
    return Queue(s);
}
ScriptedUi& ScriptedUi::ChooseFolderAs(const std::string& folder) {
    Step s(Prompt::Kind::Folder);
    s.value = folder;
    return Queue(s);
}
ScriptedUi& ScriptedUi::CancelFolder() {
    Step s(Prompt::Kind::Folder);
    s.cancel = true;
    return Queue(s);
}
ScriptedUi& ScriptedUi::ChooseColourAs(Rgb colour) {
    Step s(Prompt::Kind::Colour);
    s.colour = colour;
    return Queue(s);
}
ScriptedUi& ScriptedUi::CancelColour() {
    Step s(Prompt::Kind::Colour);
    s.cancel = true;
    return Queue(s);
}
ScriptedUi& ScriptedUi::Press(const std::string& button) {
    Step s(Prompt::Kind::Question);
    s.value = button;
    return Queue(s);
}

std::vector<std::string> ScriptedUi::texts() const {
    std::vector<std::string> out;
    for (const Prompt& p : prompts_) out.push_back(p.text);
    return out;
}

const ScriptedUi::Step* ScriptedUi::Next(const Prompt& prompt) {
    prompts_.push_back(prompt);
    if (script_.empty()) {
        ADD_FAILURE() << "unexpected " << KindName(prompt.kind) << ": \"" << prompt.text
                      << "\" (caption \"" << prompt.caption << "\")";
        return nullptr;
    }
    current_ = script_.front();
    script_.pop_front();
    if (current_.kind != prompt.kind) {
        ADD_FAILURE() << "expected a " << KindName(current_.kind) << " but got a "
                      << KindName(prompt.kind) << ": \"" << prompt.text << "\"";
        return nullptr;
    }
    if (current_.checkText) {
        EXPECT_EQ(current_.text, prompt.text);
    }
    if (current_.checkCaption) {
        EXPECT_EQ(current_.caption, prompt.caption);
    }
    return &current_;
}

Answer ScriptedUi::Message(const std::string& text, const std::string& caption, Buttons buttons,
                           Icon icon) {
    Prompt p;
    p.kind = Prompt::Kind::Message;
    p.text = text;
    p.caption = caption;
    p.buttons = buttons;
    p.icon = icon;
    const Step* step = Next(p);
    std::vector<Answer> offered = AnswersOf(buttons);
    if (!step) return offered.back();
    if (std::find(offered.begin(), offered.end(), step->answer) == offered.end())
        ADD_FAILURE() << "answer " << AnswerName(step->answer) << " is not a button of \""
                      << text << "\"";
    return step->answer;
}

std::optional<FileChoice> ScriptedUi::ChooseFile(const FileRequest& request) {
    Prompt p;
    p.kind = Prompt::Kind::File;
    p.text = request.initialPath;
    p.caption = request.title;
    p.file = request;
    const Step* step = Next(p);
    if (!step || step->cancel) return std::nullopt;
    return FileChoice{step->value, step->filterIndex};
}

std::optional<std::string> ScriptedUi::ChooseFolder(const std::string& title,
                                                    const std::string& initialFolder) {
    Prompt p;
    p.kind = Prompt::Kind::Folder;
    p.text = initialFolder;
    p.caption = title;
    const Step* step = Next(p);
    if (!step || step->cancel) return std::nullopt;
    return step->value;
}

std::optional<Rgb> ScriptedUi::ChooseColour(Rgb initial) {
    Prompt p;
    p.kind = Prompt::Kind::Colour;
    p.text = std::to_string(initial.r) + "," + std::to_string(initial.g) + "," +
             std::to_string(initial.b);
    const Step* step = Next(p);
    if (!step || step->cancel) return std::nullopt;
    return step->colour;
}

int ScriptedUi::Ask(const Question& question) {
    Prompt p;
    p.kind = Prompt::Kind::Question;
    for (size_t i = 0; i < question.lines.size(); ++i)
        p.text += (i ? "\n" : "") + question.lines[i];
    p.caption = question.caption;
    p.question = question;
    const Step* step = Next(p);
    int cancel = question.cancelButton >= 0 ? question.cancelButton
                                            : int(question.buttons.size()) - 1;
    if (!step) return cancel;
    auto it = std::find(question.buttons.begin(), question.buttons.end(), step->value);
    if (it == question.buttons.end()) {
        ADD_FAILURE() << "question \"" << question.caption << "\" has no button \""
                      << step->value << "\"";
        return cancel;
    }
    return int(it - question.buttons.begin());
}

void ScriptedUi::ShowProcessing(const std::string& text, bool /*waitCursor*/) {
    notices_.push_back(text);
    ++noticeDepth_;
}

void ScriptedUi::HideProcessing() {
    if (noticeDepth_ == 0) ADD_FAILURE() << "processing notice hidden more often than shown";
    else --noticeDepth_;
}

}  // namespace sulcan::testing
