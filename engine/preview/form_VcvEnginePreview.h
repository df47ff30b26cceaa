#pragma once
// The Flash player form: the project, the start-up and the end of each movie.
#include "engine/preview/form_CustomVcvPreview.h"

namespace somnex {

class TFrmVcvEnginePreview : public TFrmCustomVcvPreview {
public:
    using TFrmCustomVcvPreview::TFrmCustomVcvPreview;
    ~TFrmVcvEnginePreview() override;

    std::unique_ptr<TIniVCVProjectFile> Project;

    void LoadProject(const std::string& FileName) override;
    void FormShow() override;
    void FormActivate() override;
    void FormClose() override;
    void FormKeyUp(int32_t Key) override;
    void MouseMove(int32_t X, int32_t Y) override;
    std::string NextMovieFile(int32_t OrderMode, int32_t Count) override;

protected:
    void Timer_StartTimer() override;
    void Timer_IsStopTimer() override;

private:
    // Starts the next movie, or tries again shortly when its file is missing.
    void StartNextMovie();
};

} // namespace somnex
