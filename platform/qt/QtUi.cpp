#include "platform/qt/QtUi.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QRegularExpression>
#include <QThread>

namespace sulcan {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QMessageBox::Icon QtIcon(Icon icon) {
    switch (icon) {
        case Icon::None: return QMessageBox::NoIcon;
        case Icon::Information: return QMessageBox::Information;
        case Icon::Exclamation: return QMessageBox::Warning;
        case Icon::Stop: return QMessageBox::Critical;
        case Icon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton QtButton(Answer a) {
    switch (a) {
        case Answer::Ok: return QMessageBox::Ok;
        case Answer::Cancel: return QMessageBox::Cancel;
        case Answer::Yes: return QMessageBox::Yes;
        case Answer::No: return QMessageBox::No;
        case Answer::Retry: return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

}  // namespace

template <typename F>
auto QtUi::OnGuiThread(F&& f) -> decltype(f()) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) return f();
    decltype(f()) result{};
    QMetaObject::invokeMethod(app, [&] { result = f(); }, Qt::BlockingQueuedConnection);
    return result;
}

QStringList QtUi::QtFilters(const std::string& filter) {
    QStringList out;
    for (const auto& [description, patterns] : ParseFilter(filter)) {
        QString name = Q(description);
        // Qt reads the patterns from the text in parentheses, so give it exactly those.
        name.remove(QRegularExpression(R"(\s*\([^()]*\)\s*$)"));
        QString list = Q(patterns);
        list.replace(';', ' ');
        out << name + " (" + list + ")";
    }
    return out;
}

Answer QtUi::Message(const std::string& text, const std::string& caption, Buttons buttons,
                     Icon icon) {
    return OnGuiThread([&] {
        QMessageBox box(QtIcon(icon), caption.empty() ? QApplication::applicationName()
                                                      : Q(caption),
                        Q(text), QMessageBox::NoButton, parent_);
        std::vector<Answer> offered = AnswersOf(buttons);
        for (Answer a : offered) box.addButton(QtButton(a));
        box.setDefaultButton(QtButton(offered.front()));
        if (offered.size() == 1) box.setEscapeButton(QtButton(offered.front()));
        int pressed = box.exec();
        for (Answer a : offered)
            if (pressed == QtButton(a)) return a;
        return offered.back();  // closed with Esc: the last button (Cancel or No)
    });
}

std::optional<FileChoice> QtUi::ChooseFile(const FileRequest& request) {
    return OnGuiThread([&]() -> std::optional<FileChoice> {
        QFileDialog dialog(parent_, Q(request.title), Q(request.initialPath));
        const bool save = request.mode == FileRequest::Mode::Save;
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save || !request.fileMustExist ? QFileDialog::AnyFile
                                                          : QFileDialog::ExistingFile);
        if (!request.askBeforeOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(Q(request.defaultExtension));
        QStringList filters = QtFilters(request.filter);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            if (request.filterIndex >= 0 && request.filterIndex < filters.size())
                dialog.selectNameFilter(filters[request.filterIndex]);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return FileChoice{dialog.selectedFiles().front().toStdString(),
                          int(filters.indexOf(dialog.selectedNameFilter()))};
    });
}

std::optional<std::string> QtUi::ChooseFolder(const std::string& title,
                                              const std::string& initialFolder) {
    return OnGuiThread([&]() -> std::optional<std::string> {
        QString dir = QFileDialog::getExistingDirectory(parent_, Q(title), Q(initialFolder));
        if (dir.isEmpty()) return std::nullopt;
        return dir.toStdString();
    });
}

std::optional<Rgb> QtUi::ChooseColour(Rgb initial) {
    return OnGuiThread([&]() -> std::optional<Rgb> {
        QColor c = QColorDialog::getColor(QColor(initial.r, initial.g, initial.b), parent_);
        if (!c.isValid()) return std::nullopt;
        return Rgb{uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())};
    });
}

int QtUi::Ask(const Question& question) {
    return OnGuiThread([&] {
        QMessageBox box(QMessageBox::Question, Q(question.caption), {}, QMessageBox::NoButton,
                        parent_);
        box.setIcon(QMessageBox::NoIcon);
        QStringList lines;
        for (const auto& l : question.lines) lines << Q(l);
        box.setText(lines.join("\n\n"));
        std::vector<QPushButton*> buttons;
        for (const auto& b : question.buttons)
            buttons.push_back(box.addButton(Q(b), QMessageBox::ActionRole));
        if (question.defaultButton >= 0 && question.defaultButton < int(buttons.size()))
            box.setDefaultButton(buttons[question.defaultButton]);
        if (question.cancelButton >= 0 && question.cancelButton < int(buttons.size()))
            box.setEscapeButton(buttons[question.cancelButton]);
        box.exec();
        for (size_t i = 0; i < buttons.size(); ++i)
            if (box.clickedButton() == buttons[i]) return int(i);
        return question.cancelButton >= 0 ? question.cancelButton : int(buttons.size()) - 1;
    });
}

void QtUi::ShowProcessing(const std::string& text, bool waitCursor) {
    OnGuiThread([&] {
        if (noticeDepth_++ > 0) return 0;
        auto* window = new QLabel(Q(text), parent_, Qt::Tool | Qt::WindowTitleHint);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle("Processing");
        window->setAlignment(Qt::AlignCenter);
        window->setMargin(10);
        // Sized to the text, each line measured with the dialog font, never larger than the
        // main window, and centred over it.
        QFontMetrics metrics(window->font());
        int width = 0, height = 0;
        for (const QString& line : Q(text).split('\n')) {
            width = std::max(width, metrics.horizontalAdvance(line));
            height += metrics.height();
        }
        QSize size(width + 20, height + 20);
        QRect frame = parent_ ? parent_->window()->geometry()
                              : QApplication::primaryScreen()->availableGeometry();
        size = size.boundedTo(frame.size());
        window->resize(size);
        window->move(frame.center() - QPoint(size.width() / 2, size.height() / 2));
        window->show();
        window->repaint();
        noticeCursor_ = waitCursor;
        if (waitCursor) QApplication::setOverrideCursor(Qt::WaitCursor);
        notice_ = window;
        return 0;
    });
}

void QtUi::HideProcessing() {
    OnGuiThread([&] {
        if (noticeDepth_ == 0 || --noticeDepth_ > 0) return 0;
        if (notice_) notice_->close();
        if (noticeCursor_) QApplication::restoreOverrideCursor();
        noticeCursor_ = false;
        return 0;
    });
}

void QtUi::SetWaitCursor(bool on) {
    OnGuiThread([&] {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
        return 0;
    });
}

}  // namespace sulcan
