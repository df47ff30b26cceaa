#include "engine/com/Unit_ScrCompiler.h"

#include "engine/compiler/Unit_PcvCompiler.h"
#include "engine/compiler/Unit_VcvCompiler.h"
#include "platform/fs/FileSystem.h"
#include "platform/ui/MessageBoxLogic.h"

namespace somnex {

namespace {
constexpr const char* kWrongParameter = "You input wrong parameter.";

std::string FolderPart(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
} // namespace

bool TScrCompiler::Compile(int32_t) {
    AbstractError();
}

bool TProductCompiler::Compile(int32_t Value) {
    if (EngineParams.size() != ParamCount() || !plat::FileExists(EngineParams[2])) {
        ShowInfo(kWrongParameter, plat::MB_ICONINFORMATION);
        return false;
    }
    try {
        const std::string& output = EngineParams[1];
        std::string folder = FolderPart(output);
        std::string fileName = output.substr(folder.size());
        // No folder part names the current folder, which exists.
        if (!folder.empty() && !FolderExists(folder)) {
            if (AskYesNo("This output folder did not exist. Do you want to create this folder?",
                         plat::MB_ICONQUESTION) != plat::IDYES)
                return false;
            if (!CreateFolderPath(folder)) return false;
        }
        if (plat::FileExists(output) &&
            AskYesNo("The file \"" + fileName + "\" is existing, Do you want to overwrite it?",
                     plat::MB_ICONQUESTION) != plat::IDYES)
            return false;
        return Build(Value);
    } catch (const std::exception& e) {
        ShowError(e.what(), plat::MB_ICONERROR);
        return false;
    }
}

namespace {
void ErrorBox(const std::string& text) {
    ShowError(text, plat::MB_ICONERROR);
}
} // namespace

bool TPcvCompiler::Build(int32_t Value) {
    return RunPcvBuild(EngineParams, Value, ErrorBox);
}

bool TVcvCompiler::Build(int32_t Value) {
    return RunVcvBuild(EngineParams, Value, ErrorBox);
}

} // namespace somnex
