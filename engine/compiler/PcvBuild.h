#pragma once
// The slideshow build: pictures prepared as slides and stored as JPEG, the music files, the
// parameters, then the package of player, parameter database, image and music libraries.
#include "engine/compiler/CustomBuild.h"

#include <memory>

namespace somnex {

class TPcvBuild : public TCustomBuild {
public:
    explicit TPcvBuild(TErrorBox ErrorBox);
    ~TPcvBuild() override;

    void LoadProject(const std::string& FileName) override;
    void CreateDataFiles() override;
    void SaveParameters() override;
    void BuildAll() override;
    void Close() override;

    std::unique_ptr<TIniPCVProjectFile> Project;
    std::string ImagesFileName, MusicFileName;
    std::unique_ptr<TScrPcvParamsFile> ParamsFile;
    std::unique_ptr<TScrImageFile> ImageLibrary;
    std::unique_ptr<TScrMusicFile> MusicLibrary;

protected:
    std::vector<std::string> WorkFiles() const override;
    std::vector<std::string> DataFiles() const override;

private:
    void SavePictures();
    void SaveMusic();
};

} // namespace somnex
