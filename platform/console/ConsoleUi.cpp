#include "platform/console/ConsoleUi.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ostream>

namespace sulcan {

namespace {
std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
std::string Joined(const std::vector<std::string>& items, const char* sep) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) out += (i ? sep : "") + items[i];
    return out;
}
}  // namespace

ConsoleUi::ConsoleUi(std::vector<std::string> answers, std::ostream& err)
    : answers_(answers.begin(), answers.end()), err_(err) {}

std::string ConsoleUi::TakeAnswer(const std::string& question,
                                  const std::vector<std::string>& choices) {
    if (answers_.empty()) {
        std::string text = question;
        if (!choices.empty()) text += "\n[answer with --answer " + Joined(choices, "|") + "]";
        throw UnansweredQuestion(text);
    }
    std::string answer = answers_.front();
    answers_.pop_front();
    return answer;
}

Answer ConsoleUi::Message(const std::string& text, const std::string& caption, Buttons buttons,
                          Icon /*icon*/) {
    const std::string shown = (caption.empty() ? std::string("Sulcan") : caption) + ": " + text;
    std::vector<Answer> offered = AnswersOf(buttons);
    if (offered.size() == 1) {
        err_ << shown << "\n";
        return offered.front();
    }
    std::vector<std::string> names;
    for (Answer a : offered) names.push_back(AnswerName(a));
    std::string given = Lower(TakeAnswer(shown, names));
    for (Answer a : offered)
        if (Lower(AnswerName(a)) == given) {
            err_ << shown << " -> " << AnswerName(a) << "\n";
            return a;
        }
    throw UnansweredQuestion(shown + "\n[\"" + given + "\" is not one of " + Joined(names, "|") +
                             "]");
}

std::optional<FileChoice> ConsoleUi::ChooseFile(const FileRequest& request) {
    std::string path = TakeAnswer(request.title.empty() ? "Choose a file" : request.title, {});
    if (path.empty()) return std::nullopt;
    return FileChoice{path, request.filterIndex};
}

std::optional<std::string> ConsoleUi::ChooseFolder(const std::string& title,
                                                   const std::string& /*initialFolder*/) {
    std::string folder = TakeAnswer(title.empty() ? "Choose a folder" : title, {});
    if (folder.empty()) return std::nullopt;
    return folder;
}

std::optional<Rgb> ConsoleUi::ChooseColour(Rgb /*initial*/) {
    std::string text = TakeAnswer("Choose a colour as R,G,B", {});
    unsigned r, g, b;
    if (std::sscanf(text.c_str(), "%u,%u,%u", &r, &g, &b) != 3 || r > 255 || g > 255 || b > 255)
        return std::nullopt;
    return Rgb{uint8_t(r), uint8_t(g), uint8_t(b)};
}

int ConsoleUi::Ask(const Question& question) {
    std::string shown = question.caption + ": " + Joined(question.lines, "\n");
    std::string given = Lower(TakeAnswer(shown, question.buttons));
    for (size_t i = 0; i < question.buttons.size(); ++i)
        if (Lower(question.buttons[i]) == given) {
            err_ << shown << " -> " << question.buttons[i] << "\n";
            return int(i);
        }
    throw UnansweredQuestion(shown + "\n[\"" + given + "\" is not one of " +
                             Joined(question.buttons, "|") + "]");
}

}  // namespace sulcan
