#pragma once
// What a build tells whoever watches it (two bars with texts, the media counts, a busy cursor),
// and how it gives them the chance to cancel. The dialog, the terminal and tests each implement
// this; a build sees only the interface.
#include <signal.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace somnex {

inline constexpr int kTotalBar = 0;
inline constexpr int kCurrentBar = 1;

class TBuildProgress {
public:
    virtual ~TBuildProgress() = default;

    virtual void SetMaximum(int Bar, int Maximum) = 0;
    // Bar 0 is the total bar, 1 the current one; any other number does nothing.
    virtual void SetProgress(int Bar, int Position, const std::string& Text) = 0;
    // The media counts under the bars.
    virtual void SetReport(const std::string& Text) = 0;
    // The hourglass while the build works; false also when it ends in an error.
    virtual void SetBusy(bool Busy) = 0;
    // Lets pending window messages run; true when the watcher asked to cancel meanwhile.
    virtual bool ProcessMessages() = 0;
};

// Hands every call on to several watchers; a cancel from any of them counts.
class TBuildProgressTee : public TBuildProgress {
public:
    void Add(TBuildProgress* Sink) {
        if (Sink) sinks_.push_back(Sink);
    }
    void SetMaximum(int Bar, int Maximum) override;
    void SetProgress(int Bar, int Position, const std::string& Text) override;
    void SetReport(const std::string& Text) override;
    void SetBusy(bool Busy) override;
    bool ProcessMessages() override;

private:
    std::vector<TBuildProgress*> sinks_;
};

// Headless mode: the two bars drawn on stderr, redrawn in place when it is a terminal and as one
// line per change otherwise. Ctrl-C while it exists asks to cancel instead of ending the process.
class TTerminalProgress : public TBuildProgress {
public:
    explicit TTerminalProgress(FILE* Out = stderr);
    ~TTerminalProgress() override;
    TTerminalProgress(const TTerminalProgress&) = delete;
    TTerminalProgress& operator=(const TTerminalProgress&) = delete;

    void SetMaximum(int Bar, int Maximum) override;
    void SetProgress(int Bar, int Position, const std::string& Text) override;
    void SetReport(const std::string& Text) override;
    void SetBusy(bool Busy) override;
    bool ProcessMessages() override;

    bool Live() const { return live_; }
    // One bar as drawn: "[#####-----]  2/6  text", the text cut to fit Width columns.
    static std::string BarLine(int Position, int Maximum, const std::string& Text, int Width);

private:
    struct BarState {
        int Maximum = 100;
        int Position = 0;
        std::string Text = "...";
    };
    void redraw();
    void endLive();

    FILE* out_;
    bool live_;
    bool drawn_ = false;
    BarState bars_[2];
    struct ::sigaction oldAction_ {};
    bool restore_ = false;
};

// For tests (the scripted UI mode): a watcher that sees every build's progress beside the
// dialog, and can cancel it. Null removes it. The caller keeps it alive while installed.
void SetBuildProgressHook(TBuildProgress* Hook);
TBuildProgress* BuildProgressHook();

// How a build shows an error: the engine's error box.
using TErrorBox = std::function<void(const std::string& Text)>;

} // namespace somnex
