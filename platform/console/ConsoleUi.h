#pragma once
// The Ui of the command-line tool: messages go to stderr as "caption: text"; anything that
// needs an answer takes the next one given on the command line (--answer), and fails the
// command with UnansweredQuestion when none is left.
#include <deque>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace sulcan {

class UnansweredQuestion : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ConsoleUi : public Ui {
public:
    ConsoleUi(std::vector<std::string> answers, std::ostream& err);

    Answer Message(const std::string& text, const std::string& caption, Buttons buttons,
                   Icon icon) override;
    std::optional<FileChoice> ChooseFile(const FileRequest& request) override;
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& initialFolder) override;
    std::optional<Rgb> ChooseColour(Rgb initial) override;
    int Ask(const Question& question) override;
    void ShowProcessing(const std::string&, bool) override {}
    void HideProcessing() override {}
    void SetWaitCursor(bool) override {}

private:
    std::string TakeAnswer(const std::string& question, const std::vector<std::string>& choices);
    std::deque<std::string> answers_;
    std::ostream& err_;
};

}  // namespace sulcan
