#pragma once
// The full-screen form every player derives from: appearance, cursor, the system's screen-saver
// state, clipboard protection, the password check on close and the run mode.
#include "engine/preview/PreviewWindow.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace somnex {

class TFrmBasePreview;
using TPreviewWindowFactory = std::function<std::unique_ptr<IPreviewWindow>(IPreviewEvents& Events)>;

class TFrmBasePreview : public IPreviewEvents {
public:
    TFrmBasePreview(IPreviewServices& Services, const TPreviewWindowFactory& MakeWindow);
    virtual ~TFrmBasePreview() = default;
    TFrmBasePreview(const TFrmBasePreview&) = delete;
    TFrmBasePreview& operator=(const TFrmBasePreview&) = delete;

    uint8_t RunMode = 0;
    bool PasswordCheckActive = false;

    // Called once the window exists (the form's creation).
    virtual void FormCreate();
    void FormShow() override;
    void FormActivate() override;
    bool FormCloseQuery() override;
    void FormClose() override;
    void FormKeyUp(int32_t Key) override;
    void MouseMove(int32_t, int32_t) override {}
    void DoubleClick() override {}

    void SetRunMode(uint8_t Mode);
    bool CheckScreenSaverPassword();

    IPreviewWindow& Window() { return *window_; }

protected:
    virtual void InitPlayState() {}
    IPreviewServices& Services() { return services_; }

private:
    IPreviewServices& services_;
    std::unique_ptr<IPreviewWindow> window_;
};

// Whether the user's desktop settings ask for the screen-saver password ("Control Panel\Desktop",
// "ScreenSaveUsePassword" non-zero).
bool ScreenSaverPasswordWanted();

} // namespace somnex
