#include "engine/preview/form_PcvEnginePreview.h"

#include "engine/core/SharedRandom.h"
#include "engine/imaging/Gradient.h"
#include "engine/imaging/ImageProcess.h"
#include "engine/imaging/ImgColor.h"
#include "engine/imaging/PictureLoader.h"
#include "engine/imaging/SlideRecipes.h"
#include "engine/preview/PlayOrder.h"
#include "engine/preview/PreviewFlags.h"
#include "engine/preview/PreviewHelpers.h"
#include "platform/fs/FileSystem.h"
#include "platform/raster/Canvas.h"
#include "somnex/EngineError.h"

#include <charconv>
#include <exception>

namespace somnex {

namespace {

bool Exists(const std::string& file) {
    return !file.empty() && plat::FileExists(file);
}

// An effect position of the project's list, as the toolkit's integer conversion reads it.
int32_t EffectPositionOf(const std::string& text) {
    size_t start = 0, end = text.size();
    while (start < end && text[start] == ' ') ++start;
    while (end > start && text[end - 1] == ' ') --end;
    int32_t value = 0;
    const char* first = text.data() + start;
    if (start < end && *first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, text.data() + end, value);
    if (start == end || ec != std::errc() || ptr != text.data() + end)
        throw EngineError("'" + text + "' is not a valid integer value");
    return value;
}

} // namespace

TFrmPcvEnginePreview::TFrmPcvEnginePreview(IPreviewServices& Services,
                                           const TPreviewWindowFactory& MakeWindow, TPreviewMessages Messages,
                                           const TPcvPreviewParts& Parts, plat::DisplayModes& Display)
    : TFrmCustomPcvPreview(Services, MakeWindow, Parts), Resolution(Display), messages_(std::move(Messages)),
      display_(Display) {}

// A form released without having closed (its start failed) still gives back the working copy.
TFrmPcvEnginePreview::~TFrmPcvEnginePreview() {
    TheMultiDisplayManager().ForgetPreviewForm(this);
    if (Project) Project->CloseProject();
}

// --- creation and loading ---

void TFrmPcvEnginePreview::FormCreate() {
    TFrmCustomPcvPreview::FormCreate();
    PreviousEntryInterval = 0;
    EffectCount = 150;
    CustomEffects.clear();
    PictureOrder.clear();
    EffectOrder.clear();
    MusicOrder.clear();
    MusicListFinished = true;
}

void TFrmPcvEnginePreview::LoadProject(const std::string& FileName) {
    Project = std::make_unique<TIniPCVProjectFile>();
    if (!Project->OpenProject(FileName))
        throw EngineError("\"" + FileName + "\" is not a slideshow project.");
    ChangeDisplayMode = DecideDisplayModeChange(messages_, RunMode, Project->BuildSetting.ImageWidth,
                                                Project->BuildSetting.ImageHeight,
                                                Project->ControlSetting.AutoAdjust, display_);
    if (Project->Effect.EffectMode == 2) SplitCustomEffects();
    ThePreviewFlags().ExitOnKey = Project->ControlSetting.RestoreNormalKey;
    ThePreviewFlags().ExitOnMouse = Project->ControlSetting.RestoreMouse;
    ApplyDisplaySettings();
    SetMusicPause(Project->MusicSetting.Pause);
}

void TFrmPcvEnginePreview::SplitCustomEffects() {
    CustomEffects.clear();
    const std::string& text = Project->Effect.CustomEffect;
    size_t from = 0;
    for (size_t comma; (comma = text.find(',', from)) != std::string::npos; from = comma + 1)
        CustomEffects.push_back(text.substr(from, comma - from));
    if (from < text.size()) CustomEffects.push_back(text.substr(from));
}

void TFrmPcvEnginePreview::ApplyDisplaySettings() {
    const TScreenSaverBackground& bg = Project->Background;
    IPicShowScreen& screen = *PicShow_Screen;
    switch (bg.BackgroundMode) {
    case 0:
        screen.SetBgMode(TBackgroundMode::bmNone);
        screen.SetBgPicture(plat::Bitmap());
        screen.SetColor(ColorToRGB(bg.BackgroundColor));
        screen.ClearScreen();
        screen.Repaint();
        break;
    case 1:
        screen.SetColor(ColorToRGB(bg.BackgroundColor));
        if (bg.ImageWallpaperMode == 0) screen.SetBgMode(TBackgroundMode::bmStretched);
        if (bg.ImageWallpaperMode == 1) screen.SetBgMode(TBackgroundMode::bmCentered);
        if (bg.ImageWallpaperMode == 2) screen.SetBgMode(TBackgroundMode::bmTiled);
        if (Exists(bg.ImageFile)) {
            // A wallpaper that cannot be read leaves the plain colour; the show still plays.
            try {
                screen.SetBgPicture(LoadPictureFile(bg.ImageFile));
            } catch (const std::exception&) {
            }
        }
        break;
    case 2: {
        screen.SetBgMode(TBackgroundMode::bmStretched);
        const int32_t w = screen.ScreenWidth(), h = screen.ScreenHeight();
        if (w > 0 && h > 0) {
            plat::Bitmap gradient(w, h);
            plat::Canvas canvas(gradient);
            DrawGradient(canvas, uint8_t(bg.GradientDirection), ColorToRGB(bg.GradientColor_01),
                         ColorToRGB(bg.GradientColor_02), plat::Rect{-6, -6, w + 6, h + 6});
            screen.SetBgPicture(gradient);
        }
        break;
    }
    default:
        break;
    }
    screen.SetStep(uint32_t(Project->Effect.EffectStep) & 0xFFFF);
    screen.SetDelay(uint16_t(Project->Effect.EffectDelay));
    Timer_Image->SetInterval(SecondsToInterval(Project->ImageSetting.Interval));
}

void TFrmPcvEnginePreview::SetMusicPause(int32_t Seconds) {
    Timer_Music->SetInterval(SecondsToInterval(Seconds));
}

void TFrmPcvEnginePreview::InitPlayState() {
    PicturePosition = -1;
    CustomEffectPosition = -1;
    EffectCounter = 0;
    LastEffect = 0;
    SplashSoundPlaying = false;
    SplashRunning = false;
    MusicPosition = -1;
    MusicListFinished = true;
}

void TFrmPcvEnginePreview::FormShow() {
    closed_ = false;
    TFrmCustomPcvPreview::FormShow();
    if (Project) Window().SetCaption(Project->ScrInfo.Name);
    if (ChangeDisplayMode && Project)
        Resolution.ChangeResolution(Project->BuildSetting.ImageWidth, Project->BuildSetting.ImageHeight, 0);
}

void TFrmPcvEnginePreview::FormActivate() {
    TFrmCustomPcvPreview::FormActivate();
    if (!Project || closed_) return;
    const TSplashScreen& splash = Project->SplashScreen;
    if (splash.UseSplashScreen && Exists(splash.SplashScreen))
        Timer_Splash->SetEnabled(true);
    else
        Timer_Start->SetEnabled(true);
}

// --- splash and start ---

void TFrmPcvEnginePreview::Timer_SplashTimer() {
    Timer_Splash->SetEnabled(false);
    if (closed_) return;
    SplashRunning = true;
    const TSplashScreen& splash = Project->SplashScreen;
    PicShow_Screen->SetStyle(splash.SplashTransformID >= 0 ? int32_t(uint8_t(splash.SplashTransformID))
                                                           : NextEffect());
    if (Exists(splash.SplashScreenSound)) {
        // Set before playing: a sound that cannot be played clears it again (see the error handler).
        SplashSoundPlaying = true;
        MediaPlayerClock1->Play(splash.SplashScreenSound);
    }
    // A splash picture that cannot be read shows the background for the splash time instead.
    try {
        TImageAdjustSizeProcess fit;
        fit.LoadFrom(LoadPictureFile(splash.SplashScreen));
        fit.Width = PicShow_Screen->ScreenWidth();
        fit.Height = PicShow_Screen->ScreenHeight();
        fit.Mode = 4;
        fit.Execute();
        plat::Bitmap picture;
        fit.AssignTo(picture);
        PicShow_Screen->SetPicture(picture);
    } catch (const std::exception&) {
    }
    PicShow_Screen->StartTransition();
}

void TFrmPcvEnginePreview::Timer_StartTimer() {
    if (closed_) return Timer_Start->SetEnabled(false);
    if (SplashRunning && SplashSoundPlaying) return;
    if (SplashSoundPlaying) {
        if (Timer_Start->Interval() > 500) Timer_Start->SetInterval(1000);
        return;
    }
    Timer_Start->SetEnabled(false);
    const int32_t mode = Project->ImageSetting.IntervalMode;
    if (mode == 1 || mode == 2) {
        PicShow_ScreenComplete();
        Timer_MusicTimer();
        return;
    }
    if (!PicShow_Screen->InTransition() && Project->ImageSetting.ClearOldImage) {
        PicShow_Screen->ClearScreen();
        PicShow_Screen->Repaint();
    }
    Timer_MusicTimer();
    PicShow_ScreenComplete();
    Timer_Image->SetEnabled(false);
    PicShow_Screen->StartTransition();
}

// --- picture cycle ---

void TFrmPcvEnginePreview::PicShow_ScreenComplete() {
    if (closed_) return;
    if (SplashRunning || SplashSoundPlaying) {
        SplashRunning = false;
        Timer_Start->SetInterval(SecondsToInterval(Project->SplashScreen.SplashScreenInterval));
        Timer_Start->SetEnabled(true);
        return;
    }
    if (RunMode == 0 || RunMode == 1) PrepareNextPicture();

    IPicShowScreen& screen = *PicShow_Screen;
    if (CurrentEntry.TransformID >= 0) {
        screen.SetStyle(int32_t(uint8_t(CurrentEntry.TransformID)));
        screen.SetStep(uint32_t(CurrentEntry.EffectStep) & 0xFFFF);
        screen.SetDelay(uint16_t(CurrentEntry.EffectDelay));
    } else {
        LastEffect = NextEffect();
        screen.SetStyle(int32_t(uint8_t(LastEffect)));
        screen.SetStep(uint32_t(Project->Effect.EffectStep) & 0xFFFF);
        screen.SetDelay(uint16_t(Project->Effect.EffectDelay));
    }

    const int32_t mode = Project->ImageSetting.IntervalMode;
    if (mode == 1 || mode == 2) {
        Timer_Image->SetEnabled(false);
        return;
    }
    Timer_Image->SetInterval(PreviousEntryInterval > 0 ? SecondsToInterval(PreviousEntryInterval)
                                                       : SecondsToInterval(Project->ImageSetting.Interval));
    PreviousEntryInterval = CurrentEntry.Interval;
    Timer_Image->SetEnabled(true);
}

void TFrmPcvEnginePreview::PrepareNextPicture() {
    CurrentEntry = NextPictureEntry();
    if (!Exists(CurrentEntry.FileName)) return;
    plat::Bitmap slide;
    // A picture that cannot be prepared leaves the previous one on screen.
    try {
        if (!PreparePreviewSlide(CurrentEntry, *Project, PicShow_Screen->ScreenWidth(),
                                 PicShow_Screen->ScreenHeight(), slide))
            return;
    } catch (const std::exception&) {
        return;
    }
    PicShow_Screen->SetPicture(slide);
}

void TFrmPcvEnginePreview::Timer_ImageTimer() {
    Timer_Image->SetEnabled(false);
    if (closed_ || PicShow_Screen->InTransition()) return;
    if (Project->ImageSetting.ClearOldImage) {
        PicShow_Screen->ClearScreen();
        PicShow_Screen->Repaint();
    }
    PicShow_Screen->StartTransition();
}

TImageRec TFrmPcvEnginePreview::NextPictureEntry() {
    const int32_t count = Project->GetListCount(TListKind::Images);
    TImageRec entry;
    // A show without pictures keeps its background; there is no entry to read.
    if (count <= 0) return entry;
    int32_t position = 0;
    switch (Project->ImageSetting.OrderMode) {
    case 0:
        if (PicturePosition >= count - 1) PicturePosition = -1;
        position = ++PicturePosition;
        break;
    case 1:
        if (PictureOrder.empty()) FillPlayOrder(1, count, PicturePosition, PictureOrder);
        position = PictureOrder.front();
        PictureOrder.pop_front();
        break;
    default:
        break;
    }
    Project->ReadImage(position, entry);
    return entry;
}

int32_t TFrmPcvEnginePreview::NextEffect() {
    const int32_t mode = Project->Effect.EffectMode, order = Project->Effect.OrderMode;
    if (mode == 1 && order == 0) {
        if (++EffectCounter > EffectCount) EffectCounter = 1;
        return EffectCounter;
    }
    if (mode == 1 && order == 1) {
        if (EffectOrder.empty()) FillPlayOrder(1, EffectCount, LastEffect - 1, EffectOrder);
        const int32_t position = EffectOrder.front();
        EffectOrder.pop_front();
        return position + 1;
    }
    // An empty custom list has no effect to give.
    if (mode == 2 && order == 0 && !CustomEffects.empty()) {
        if (++CustomEffectPosition >= int32_t(CustomEffects.size())) CustomEffectPosition = 0;
        return EffectPositionOf(CustomEffects[size_t(CustomEffectPosition)]) + 1;
    }
    if (mode == 2 && order == 1 && !CustomEffects.empty()) {
        if (EffectOrder.empty()) {
            std::vector<int32_t> styles;
            for (const std::string& entry : CustomEffects) styles.push_back(EffectPositionOf(entry) + 1);
            while (!styles.empty()) {
                const size_t at = size_t(TheRandom().Random(int32_t(styles.size())));
                EffectOrder.push_back(styles[at]);
                styles.erase(styles.begin() + std::ptrdiff_t(at));
            }
        }
        const int32_t style = EffectOrder.front();
        EffectOrder.pop_front();
        return style;
    }
    return 0;
}

// --- playlist ---

void TFrmPcvEnginePreview::Timer_MusicTimer() {
    if (closed_) return Timer_Music->SetEnabled(false);
    const TMusicSetting& music = Project->MusicSetting;
    if (!music.MuteSound && Project->GetListCount(TListKind::Music) > 0) {
        MusicStopped = false;
        Timer_Music->SetEnabled(false);
        if (music.PlayMode != 1 || !Exists(CurrentMusicFile)) CurrentMusicFile = NextMusicFile();
        if (Exists(CurrentMusicFile))
            MediaPlayerClock1->Play(CurrentMusicFile);
        else
            Timer_Music->SetEnabled(true);
        return;
    }
    Timer_Music->SetEnabled(false);
    MusicStopped = true;
    if (mPlay_Music->Mode() == TMPModes::mpPlaying) {
        MediaPlayerClock1->Stop();
        MediaPlayerClock1->Close();
    }
}

std::string TFrmPcvEnginePreview::NextMusicFile() {
    if (RunMode != 0 && RunMode != 1) return "";
    const int32_t count = Project->GetListCount(TListKind::Music);
    if (count <= 0) return "";
    const TMusicSetting& music = Project->MusicSetting;
    int32_t position = 0;
    if (music.PlayMode == 1) {
        TheRandom().SetSeed(Services().ClockSeed());
        position = TheRandom().Random(count);
    } else if (music.OrderMode == 1) {
        if (MusicListFinished) FillPlayOrder(1, count, MusicPosition, MusicOrder);
        // The queue can only be empty here when a cycle was cut short; start a new one.
        if (MusicOrder.empty()) FillPlayOrder(1, count, MusicPosition, MusicOrder);
        position = MusicOrder.front();
        MusicOrder.pop_front();
    } else {
        if (MusicListFinished) MusicPosition = -1;
        position = ++MusicPosition;
        if (position >= count) position = MusicPosition = 0;
    }
    return Project->ReadMusic(position);
}

bool TFrmPcvEnginePreview::MusicListFinishedTest() {
    const TMusicSetting& music = Project->MusicSetting;
    if (music.PlayMode == 1) return true;
    if (music.OrderMode == 1) return MusicOrder.empty();
    return MusicPosition >= Project->GetListCount(TListKind::Music) - 1;
}

void TFrmPcvEnginePreview::MediaPlayerClock1MediaState(TMPModes MediaMode) {
    if (MediaMode != TMPModes::mpStopped || closed_) return;
    if (SplashSoundPlaying) {
        SplashSoundPlaying = false;
        return;
    }
    if (Project->ImageSetting.IntervalMode == 2) Timer_ImageTimer();
    MediaPlayerClock1->Close();
    MusicListFinished = MusicListFinishedTest();
    if (Project->MusicSetting.IsLoop && !MusicStopped)
        Timer_Music->SetEnabled(true);
    else
        Timer_Music->SetEnabled(!MusicListFinished);
}

void TFrmPcvEnginePreview::MediaPlayerClock1AfterPlayMedia() {
    if (closed_) return;
    if (!SplashRunning && Project->ImageSetting.IntervalMode == 1) Timer_ImageTimer();
}

void TFrmPcvEnginePreview::MediaPlayerClock1Error(const std::string&) {
    // A splash sound that cannot be played must not hold the show back for good; the playlist's
    // own failures end the music there, as the player has always done.
    SplashSoundPlaying = false;
}

// --- exit rules and closing ---

void TFrmPcvEnginePreview::FormKeyUp(int32_t Key) {
    TFrmCustomPcvPreview::FormKeyUp(Key);
    if (ThePreviewFlags().ExitOnKey && !PasswordCheckActive) TheMultiDisplayManager().CloseAll();
}

void TFrmPcvEnginePreview::MouseMove(int32_t X, int32_t Y) {
    if (MouseEndsPreview(X, Y)) TheMultiDisplayManager().CloseAll();
}

void TFrmPcvEnginePreview::DoubleClick() {
    TheMultiDisplayManager().CloseAll();
}

void TFrmPcvEnginePreview::FormClose() {
    Timer_Image->SetEnabled(false);
    Timer_Music->SetEnabled(false);
    // The start timers too: nothing of the show may run once the form has closed.
    Timer_Splash->SetEnabled(false);
    Timer_Start->SetEnabled(false);
    closed_ = true;
    MusicStopped = true;
    CustomEffects.clear();
    PictureOrder.clear();
    EffectOrder.clear();
    MusicOrder.clear();
    TFrmCustomPcvPreview::FormClose();
    try {
        if (mPlay_Music->Mode() == TMPModes::mpPlaying) {
            MediaPlayerClock1->Stop();
            MediaPlayerClock1->Close();
        }
    } catch (const std::exception&) {
        mPlay_Music->Close(); // a failed device is closed all the same
    }
    if (Project) FinishProject(*Project);
    if (Resolution.Changed()) Resolution.RestoreResolution();
}

} // namespace somnex
