#pragma once
// The Ui port on Qt widgets. Calls from a worker thread are carried out on the GUI thread
// with a blocking queued call, so engine jobs may ask questions like any model code.
#include <QPointer>
#include <QWidget>

#include "platform/Ui.h"

namespace sulcan {

class QtUi : public Ui {
public:
    explicit QtUi(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer Message(const std::string& text, const std::string& caption, Buttons buttons,
                   Icon icon) override;
    std::optional<FileChoice> ChooseFile(const FileRequest& request) override;
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& initialFolder) override;
    std::optional<Rgb> ChooseColour(Rgb initial) override;
    int Ask(const Question& question) override;
    void ShowProcessing(const std::string& text, bool waitCursor) override;
    void HideProcessing() override;
    void SetWaitCursor(bool on) override;

    // "Desc (*.a, *.b)|*.a;*.b|...||" as Qt's "Desc (*.a *.b);;..." list.
    static QStringList QtFilters(const std::string& filter);

private:
    template <typename F>
    auto OnGuiThread(F&& f) -> decltype(f());
    QPointer<QWidget> parent_;
    QPointer<QWidget> notice_;
    int noticeDepth_ = 0;
    bool noticeCursor_ = false;
};

}  // namespace sulcan
