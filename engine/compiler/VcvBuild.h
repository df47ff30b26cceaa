#pragma once
// The Flash build: the parameters first, then the movie files, then the package of player,
// parameter database and Flash library.
#include "engine/compiler/CustomBuild.h"

#include <memory>

namespace somnex {

class TVcvBuild : public TCustomBuild {
public:
    explicit TVcvBuild(TErrorBox ErrorBox);
    ~TVcvBuild() override;

    void LoadProject(const std::string& FileName) override;
    void CreateDataFiles() override;
    void SaveParameters() override;
    void BuildAll() override;
    void Close() override;

    std::unique_ptr<TIniVCVProjectFile> Project;
    std::string FlashFileName;
    std::unique_ptr<TScrVcvParamsFile> ParamsFile;
    std::unique_ptr<TScrFlashFile> FlashLibrary;

protected:
    std::vector<std::string> WorkFiles() const override;
    std::vector<std::string> DataFiles() const override;

private:
    void SaveFlashs();
};

} // namespace somnex
