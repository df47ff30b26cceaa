#include "engine/compiler/BuildProgress.h"

#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

namespace somnex {

namespace {
std::atomic<TBuildProgress*> hook{nullptr};
// Set by the SIGINT handler; only an atomic store is safe there.
std::atomic<bool> interrupted{false};

void OnInterrupt(int) {
    interrupted.store(true);
}

int TerminalWidth(FILE* out) {
    winsize ws{};
    if (::ioctl(::fileno(out), TIOCGWINSZ, &ws) == 0 && ws.ws_col > 20) return ws.ws_col;
    return 80;
}
} // namespace

void SetBuildProgressHook(TBuildProgress* Hook) {
    hook.store(Hook);
}
TBuildProgress* BuildProgressHook() {
    return hook.load();
}

// ---- Tee ----

void TBuildProgressTee::SetMaximum(int Bar, int Maximum) {
    for (TBuildProgress* s : sinks_) s->SetMaximum(Bar, Maximum);
}
void TBuildProgressTee::SetProgress(int Bar, int Position, const std::string& Text) {
    for (TBuildProgress* s : sinks_) s->SetProgress(Bar, Position, Text);
}
void TBuildProgressTee::SetReport(const std::string& Text) {
    for (TBuildProgress* s : sinks_) s->SetReport(Text);
}
void TBuildProgressTee::SetBusy(bool Busy) {
    for (TBuildProgress* s : sinks_) s->SetBusy(Busy);
}
bool TBuildProgressTee::ProcessMessages() {
    bool cancel = false;
    for (TBuildProgress* s : sinks_) cancel = s->ProcessMessages() || cancel;
    return cancel;
}

// ---- Terminal ----

TTerminalProgress::TTerminalProgress(FILE* Out) : out_(Out), live_(::isatty(::fileno(Out)) == 1) {
    interrupted.store(false);
    struct ::sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    restore_ = ::sigaction(SIGINT, &action, &oldAction_) == 0;
}

TTerminalProgress::~TTerminalProgress() {
    endLive();
    if (restore_) ::sigaction(SIGINT, &oldAction_, nullptr);
}

std::string TTerminalProgress::BarLine(int Position, int Maximum, const std::string& Text, int Width) {
    constexpr int kCells = 24;
    int max = std::max(Maximum, 0);
    int pos = std::clamp(Position, 0, max);
    int filled = max > 0 ? pos * kCells / max : 0;
    std::string count = std::to_string(pos) + "/" + std::to_string(max);
    std::string line = "[" + std::string(filled, '#') + std::string(kCells - filled, '-') + "] ";
    line += std::string(count.size() < 7 ? 7 - count.size() : 0, ' ') + count + "  ";
    int room = Width - static_cast<int>(line.size());
    if (room > 3 && static_cast<int>(Text.size()) > room)
        line += Text.substr(0, room - 3) + "...";
    else if (room > 0)
        line += Text.substr(0, room);
    return line;
}

void TTerminalProgress::SetMaximum(int Bar, int Maximum) {
    if (Bar != kTotalBar && Bar != kCurrentBar) return;
    bars_[Bar].Maximum = Maximum;
    if (live_) redraw();
}

void TTerminalProgress::SetProgress(int Bar, int Position, const std::string& Text) {
    if (Bar != kTotalBar && Bar != kCurrentBar) return;
    bars_[Bar].Position = Position;
    bars_[Bar].Text = Text;
    if (live_) {
        redraw();
        return;
    }
    const BarState& b = bars_[Bar];
    if (Bar == kTotalBar)
        std::fprintf(out_, "[%d/%d] %s\n", b.Position, b.Maximum, Text.c_str());
    else
        std::fprintf(out_, "    %d/%d %s\n", b.Position, b.Maximum, Text.c_str());
    std::fflush(out_);
}

void TTerminalProgress::SetReport(const std::string& Text) {
    endLive();
    std::fprintf(out_, "%s\n", Text.c_str());
    std::fflush(out_);
}

void TTerminalProgress::SetBusy(bool Busy) {
    // A box printed after the build must not be drawn over by the bars.
    if (!Busy) endLive();
}

bool TTerminalProgress::ProcessMessages() {
    return interrupted.exchange(false);
}

void TTerminalProgress::redraw() {
    int width = TerminalWidth(out_) - 1;
    // Back to the first of the two lines we drew, then both lines anew.
    if (drawn_) std::fputs("\r\033[1A", out_);
    for (int i = 0; i < 2; ++i) {
        std::fputs("\r\033[2K", out_);
        std::fputs(BarLine(bars_[i].Position, bars_[i].Maximum, bars_[i].Text, width).c_str(), out_);
        if (i == 0) std::fputc('\n', out_);
    }
    drawn_ = true;
    std::fflush(out_);
}

void TTerminalProgress::endLive() {
    if (!drawn_) return;
    std::fputc('\n', out_);
    std::fflush(out_);
    drawn_ = false;
}

} // namespace somnex
