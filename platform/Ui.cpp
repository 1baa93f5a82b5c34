#include "platform/Ui.h"

namespace sulcan {

const char* AnswerName(Answer a) {
    switch (a) {
        case Answer::Ok: return "OK";
        case Answer::Cancel: return "Cancel";
        case Answer::Yes: return "Yes";
        case Answer::No: return "No";
        case Answer::Retry: return "Retry";
    }
    return "?";
}

std::vector<Answer> AnswersOf(Buttons b) {
    switch (b) {
        case Buttons::Ok: return {Answer::Ok};
        case Buttons::OkCancel: return {Answer::Ok, Answer::Cancel};
        case Buttons::YesNo: return {Answer::Yes, Answer::No};
        case Buttons::YesNoCancel: return {Answer::Yes, Answer::No, Answer::Cancel};
        case Buttons::RetryCancel: return {Answer::Retry, Answer::Cancel};
    }
    return {Answer::Ok};
}

std::vector<std::pair<std::string, std::string>> ParseFilter(const std::string& filter) {
    std::vector<std::string> fields;
    std::string field;
    for (char c : filter) {
        if (c == '|') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.empty()) fields.push_back(field);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (size_t i = 0; i + 1 < fields.size(); i += 2) {
        if (fields[i].empty()) break;  // the "||" terminator
        pairs.emplace_back(fields[i], fields[i + 1]);
    }
    return pairs;
}

}  // namespace sulcan
