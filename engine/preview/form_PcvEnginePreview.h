#pragma once
// The slideshow player form: plays a slideshow project as the finished screensaver would, with
// its splash screen, pictures prepared to screen size, transitions and music.
#include "engine/preview/DynamicResolution.h"
#include "engine/preview/ResolutionQuestion.h"
#include "engine/preview/form_CustomPcvPreview.h"
#include "engine/project/Unit_IniPcvProjectFile.h"

#include <memory>
#include <string>

namespace somnex {

class TFrmPcvEnginePreview : public TFrmCustomPcvPreview {
public:
    TFrmPcvEnginePreview(IPreviewServices& Services, const TPreviewWindowFactory& MakeWindow,
                         TPreviewMessages Messages, const TPcvPreviewParts& Parts,
                         plat::DisplayModes& Display = plat::SystemDisplayModes());
    ~TFrmPcvEnginePreview() override;

    std::unique_ptr<TIniPCVProjectFile> Project;
    TDynamicResolution Resolution;
    bool ChangeDisplayMode = false;
    TImageRec CurrentEntry;

    void FormCreate() override;
    void LoadProject(const std::string& FileName) override;
    void FormShow() override;
    void FormActivate() override;
    void FormClose() override;
    void FormKeyUp(int32_t Key) override;
    void MouseMove(int32_t X, int32_t Y) override;
    void DoubleClick() override;

    virtual void ApplyDisplaySettings();
    virtual void SetMusicPause(int32_t Seconds);

    // Choosers.
    TImageRec NextPictureEntry();
    int32_t NextEffect();
    std::string NextMusicFile();
    bool MusicListFinishedTest();

    // Handlers, public so that a host or a test can run a step as its timer would.
    void Timer_SplashTimer() override;
    void Timer_StartTimer() override;
    void Timer_ImageTimer() override;
    void Timer_MusicTimer() override;
    void PicShow_ScreenComplete() override;
    void MediaPlayerClock1MediaState(TMPModes MediaMode) override;
    void MediaPlayerClock1AfterPlayMedia() override;
    void MediaPlayerClock1Error(const std::string& ErrorStr) override;

protected:
    void InitPlayState() override;

private:
    void PrepareNextPicture();
    void SplitCustomEffects();

    TPreviewMessages messages_;
    plat::DisplayModes& display_;
    bool closed_ = false;
};

} // namespace somnex
