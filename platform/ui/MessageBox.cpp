#include "platform/ui/MessageBox.h"

#include "platform/raster/GuiApp.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace plat {

namespace {
std::mutex handlerMutex;
MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

bool HasDisplay() {
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}

int HeadlessBox(const std::string& caption, const std::string& text, uint32_t flags) {
    const char* setting = std::getenv("SOMNEX_ANSWER");
    std::optional<AnswerPolicy> policy = ParseAnswerPolicy(setting ? setting : "");
    int answer = PolicyAnswer(policy.value_or(AnswerPolicy::Default), flags);
    std::string buttons;
    for (int b : ButtonsOf(flags)) buttons += std::string(buttons.empty() ? "" : "/") + ButtonName(b);
    // Box texts end lines with CR alone; on a terminal that would overwrite the line.
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            lines += text[i];
        } else if (i + 1 >= text.size() || text[i + 1] != '\n') {
            lines += '\n';
        }
    }
    std::fprintf(stderr, "[%s] %s [%s] -> %s\n", caption.c_str(), lines.c_str(), buttons.c_str(),
                 ButtonName(answer));
    std::fflush(stderr);
    return answer;
}

QMessageBox::StandardButton StandardOf(int id) {
    switch (id) {
    case IDOK:
        return QMessageBox::Ok;
    case IDCANCEL:
        return QMessageBox::Cancel;
    case IDABORT:
        return QMessageBox::Abort;
    case IDRETRY:
        return QMessageBox::Retry;
    case IDIGNORE:
        return QMessageBox::Ignore;
    case IDYES:
        return QMessageBox::Yes;
    case IDNO:
        return QMessageBox::No;
    default:
        return QMessageBox::NoButton;
    }
}

QMessageBox::Icon QtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int DesktopBox(const std::string& caption, const std::string& text, uint32_t flags) {
    if (!EnsureApplication()) return HeadlessBox(caption, text, flags);
    QPointer<QWidget> active = QApplication::activeWindow();
    QMessageBox box(QtIcon(IconOf(flags)), QString::fromStdString(caption), QString::fromStdString(text));
    box.setWindowModality(Qt::ApplicationModal);
    for (int id : ButtonsOf(flags)) {
        QPushButton* b = box.addButton(StandardOf(id));
        b->setProperty("somnexId", id);
        if (id == DefaultButton(flags)) box.setDefaultButton(b);
        if (DismissAnswer(flags) == id) box.setEscapeButton(b);
    }
    box.exec();
    int answer = DefaultButton(flags);
    if (auto* clicked = box.clickedButton()) answer = clicked->property("somnexId").toInt();
    if (active) active->activateWindow();
    return answer;
}
} // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard lock(handlerMutex);
    Handler() = std::move(handler);
}

UiMode CurrentUiMode() {
    bool scripted;
    {
        std::lock_guard lock(handlerMutex);
        scripted = static_cast<bool>(Handler());
    }
    return ChooseUiMode(std::getenv("SOMNEX_UI"), HasDisplay(), scripted);
}

int ShowMessageBox(const std::string& caption, const std::string& text, uint32_t flags) {
    switch (CurrentUiMode()) {
    case UiMode::Scripted: {
        MessageBoxHandler handler;
        {
            std::lock_guard lock(handlerMutex);
            handler = Handler();
        }
        return handler(caption, text, flags);
    }
    case UiMode::Desktop:
        return DesktopBox(caption, text, flags);
    default:
        return HeadlessBox(caption, text, flags);
    }
}

bool EnsureApplication() {
    plat::EnsureGuiApplication();
    // A host that made a plain QGuiApplication of its own gets printed boxes, not widgets.
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace plat
