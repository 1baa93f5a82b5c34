#pragma once
// The user-facing port: every message box, file chooser and question dialog that model and
// engine code shows goes through this interface, so the same code runs under Qt, on the
// console and under a scripted test.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sulcan {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Information, Exclamation, Stop, Question };
enum class Answer { Ok, Cancel, Yes, No, Retry };

// Name of a button as shown to the user ("OK", "Cancel", "Yes", "No", "Retry").
const char* AnswerName(Answer a);
// The answers a set of buttons offers, in their order on screen.
std::vector<Answer> AnswersOf(Buttons b);

struct FileRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    std::string title;         // empty: the platform's "Open" / "Save As"
    std::string filter;        // "Text (*.txt)|*.txt|All files (*.*)|*.*||" style
    std::string initialPath;   // folder or file name the dialog starts on
    std::string defaultExtension;
    int filterIndex = 0;       // preselected filter, 0-based
    bool fileMustExist = false;
    bool pathMustExist = false;
    bool askBeforeOverwrite = false;
};

struct FileChoice {
    std::string path;
    int filterIndex = 0;  // filter chosen by the user, 0-based
};

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A custom question dialog: caption, text lines and two or three named buttons.
struct Question {
    std::string caption;
    std::vector<std::string> lines;
    std::vector<std::string> buttons;
    int defaultButton = 0;
    int cancelButton = -1;  // index pressed by Esc / closing the window; -1: none
};

class Ui {
public:
    virtual ~Ui() = default;
    // An empty caption shows the application's name.
    virtual Answer Message(const std::string& text, const std::string& caption = {},
                           Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;
    virtual std::optional<FileChoice> ChooseFile(const FileRequest& request) = 0;
    virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                    const std::string& initialFolder) = 0;
    virtual std::optional<Rgb> ChooseColour(Rgb initial) = 0;
    // Returns the index of the button pressed.
    virtual int Ask(const Question& question) = 0;

    // The processing notice: a small window titled "Processing" shown while a long operation
    // runs on the user-interface thread. Shows nest; the window goes with the last hide.
    virtual void ShowProcessing(const std::string& text, bool waitCursor) = 0;
    virtual void HideProcessing() = 0;
    // The wait cursor alone, for short waits that need no notice. Calls nest.
    virtual void SetWaitCursor(bool on) = 0;
};

// Shows the wait cursor for the lifetime of the object.
class WaitCursor {
public:
    explicit WaitCursor(Ui& ui) : ui_(ui) { ui_.SetWaitCursor(true); }
    ~WaitCursor() { ui_.SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Ui& ui_;
};

// Shows the processing notice for the lifetime of the object.
class ProcessingNotice {
public:
    ProcessingNotice(Ui& ui, const std::string& text, bool waitCursor = true) : ui_(ui) {
        ui_.ShowProcessing(text, waitCursor);
    }
    ~ProcessingNotice() { ui_.HideProcessing(); }
    ProcessingNotice(const ProcessingNotice&) = delete;
    ProcessingNotice& operator=(const ProcessingNotice&) = delete;

private:
    Ui& ui_;
};

// Filter patterns of a "desc|patterns|desc|patterns||" string, as (description, patterns) pairs.
std::vector<std::pair<std::string, std::string>> ParseFilter(const std::string& filter);

}  // namespace sulcan
