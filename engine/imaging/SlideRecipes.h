#pragma once
// How the build and the preview player set up slide preparation for one picture entry of a
// slideshow project. The two differ on purpose: the preview does not check that the wallpaper
// exists, and it always applies the entry's opacity and overlay setting.
#include "engine/imaging/ScrImgProc1.h"
#include "engine/project/Unit_IniPcvProjectFile.h"

#include <string>

namespace somnex {

// The build: a slide of the project's build size.
void SetUpBuildSlide(TScrImgProc1& proc, const TImageRec& entry, const TIniPCVProjectFile& project);
// The preview: a slide of the screen's size. Only for an entry whose picture file exists.
void SetUpPreviewSlide(TScrImgProc1& proc, const TImageRec& entry, const TIniPCVProjectFile& project,
                       int32_t screenWidth, int32_t screenHeight);

// Set up, Execute and copy the result out. False when the preparation failed (or, for the
// preview, when the picture file does not exist); `slide` is then left empty.
bool PrepareBuildSlide(const TImageRec& entry, const TIniPCVProjectFile& project, plat::Bitmap& slide,
                       const PictureLoader& loader = LoadPictureFile);
bool PreparePreviewSlide(const TImageRec& entry, const TIniPCVProjectFile& project, int32_t screenWidth,
                         int32_t screenHeight, plat::Bitmap& slide,
                         const PictureLoader& loader = LoadPictureFile);

// For the reference host: opens the project, prepares picture entry `index` exactly as the build
// does, and closes it again. A width and height above 0 replace the project's build size.
// Raises EngineError when the project cannot be opened, the index is out of range or the
// preparation fails.
plat::Bitmap PrepareProjectSlide(const std::string& projectPath, int32_t index, int32_t width = 0,
                                 int32_t height = 0);

} // namespace somnex
