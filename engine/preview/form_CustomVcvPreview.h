#pragma once
// The Flash form's components and movie-order state: one movie control at a time, the start and
// end-of-movie timers, and the filter that keeps mouse input from the movie.
#include "engine/preview/PreviewPlayer.h"
#include "engine/preview/PreviewTimer.h"
#include "engine/project/Unit_IniVcvProjectFile.h"
#include "platform/movie/MovieControl.h"

#include <deque>

namespace somnex {

struct TVcvPreviewParts {
    plat::MovieControlFactory MakeControl;
    TTimerFactory MakeTimer;
};

class TFrmCustomVcvPreview : public TPreviewPlayer {
public:
    TFrmCustomVcvPreview(IPreviewServices& Services, const TPreviewWindowFactory& MakeWindow,
                         TVcvPreviewParts Parts);
    ~TFrmCustomVcvPreview() override;

    std::unique_ptr<IPreviewTimer> Timer_Start;  // 5 ms
    std::unique_ptr<IPreviewTimer> Timer_IsStop; // 100 ms
    std::unique_ptr<plat::MovieControl> FlashControl;
    bool ShowMouseCursor = false;
    bool AllowMouseEvent = false;
    int32_t MoviePosition = -1;
    std::string CurrentMovieFile;
    std::deque<int32_t> MovieOrder;

    void FormCreate() override;
    void FormClose() override;

    void CreateFlashControl();
    void DestroyFlashControl();
    bool PlayMovie(const std::string& FileName, const TScreenSaverFlash& Setting);
    bool ReplayMovie(const std::string& FileName);
    virtual std::string NextMovieFile(int32_t OrderMode, int32_t Count) = 0;
    // True when the input is kept from the movie.
    bool FlashMessageHook(plat::MovieInput Input, int32_t X, int32_t Y);
    void FlashReadyStateChange(int32_t NewState);

protected:
    void InitPlayState() override { MoviePosition = -1; }
    virtual void Timer_StartTimer() = 0;
    virtual void Timer_IsStopTimer() = 0;
    // The list position the next movie comes from.
    int32_t NextMoviePosition(int32_t OrderMode, int32_t Count);

private:
    plat::MovieControlFactory makeControl_;
};

} // namespace somnex
