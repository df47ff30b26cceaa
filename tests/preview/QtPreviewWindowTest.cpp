// The Qt form offscreen: events reach the logic in order, an error in a handler is reported and
// the preview plays on, and a closed form ends its modal loop.
#include "engine/preview/QtPreviewWindow.h"
#include "platform/raster/GuiApp.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>
#include <stdlib.h>
#include <vector>

using namespace somnex;

namespace {

class Recorder final : public IPreviewEvents {
public:
    std::vector<std::string> calls;
    IPreviewWindow* window = nullptr;
    bool refuseFirstClose = false;
    bool refuseAlways = false;

    void FormShow() override { calls.push_back("show"); }
    void FormActivate() override {
        calls.push_back("activate");
        throw std::runtime_error("start-up failed");
    }
    bool FormCloseQuery() override {
        calls.push_back("query");
        if (refuseAlways) return false;
        if (!refuseFirstClose) return true;
        refuseFirstClose = false;
        return false;
    }
    void FormClose() override { calls.push_back("close"); }
    void FormKeyUp(int32_t Key) override {
        calls.push_back("key " + std::to_string(Key));
        window->RequestClose();
    }
    void MouseMove(int32_t, int32_t) override {}
    void DoubleClick() override {}
};

void ReleaseKeyLater(QWidget* w, int key, int delayMs) {
    QTimer::singleShot(delayMs, w, [w, key] {
        QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
    });
}

TEST(QtPreviewWindow, ForwardsEventsReportsErrorsAndPlaysOnUntilAllowedToClose) {
    plat::EnsureGuiApplication();
    ::setenv("SOMNEX_PREVIEW_SECONDS", "0", 1);
    Recorder events;
    events.refuseFirstClose = true;
    std::vector<std::string> reports;
    QtPreviewWindow window(events, [&](const std::string& m) { reports.push_back(m); });
    events.window = &window;
    ReleaseKeyLater(&window, Qt::Key_Escape, 10);
    ReleaseKeyLater(&window, Qt::Key_A, 20);
    window.ShowModal();
    EXPECT_EQ(events.calls,
              (std::vector<std::string>{"show", "activate", "key 27", "query", "key 65", "query", "close"}));
    EXPECT_EQ(reports, (std::vector<std::string>{"start-up failed"}));
    EXPECT_FALSE(window.isVisible());
}

// Headless even a refused close ends it: no one could ever answer what kept it open.
TEST(QtPreviewWindow, EndsByItselfAfterTheGivenTime) {
    plat::EnsureGuiApplication();
    ::setenv("SOMNEX_PREVIEW_SECONDS", "0.01", 1);
    EXPECT_EQ(PreviewAutoCloseMilliseconds(), 10);
    for (bool refused : {false, true}) {
        Recorder events;
        events.refuseAlways = refused;
        QtPreviewWindow window(events, [](const std::string&) {});
        events.window = &window;
        window.ShowModal();
        ASSERT_GE(events.calls.size(), 2u);
        EXPECT_EQ(events.calls[events.calls.size() - 2], "query") << refused;
        EXPECT_EQ(events.calls.back(), "close") << refused;
    }
    ::setenv("SOMNEX_PREVIEW_SECONDS", "0", 1);
    EXPECT_EQ(PreviewAutoCloseMilliseconds(), 0);
}

TEST(QtPreviewWindow, KeysMapToVirtualKeyCodes) {
    struct Case {
        int qt;
        int32_t vk;
    };
    for (Case c :
         {Case{Qt::Key_Escape, VK_ESCAPE}, Case{Qt::Key_Print, VK_SNAPSHOT}, Case{Qt::Key_A, 'A'},
          Case{Qt::Key_7, '7'}, Case{Qt::Key_F1, 112}, Case{Qt::Key_Return, 13}, Case{Qt::Key_Shift, 0xFF}})
        EXPECT_EQ(VirtualKeyOf(c.qt), c.vk) << c.qt;
}

} // namespace
