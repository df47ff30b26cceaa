#include "engine/project/Unit_IniVcvProjectFile.h"

#include "shared/ini/IniText.h"
#include "somnex/EngineError.h"

namespace somnex {
namespace {

constexpr char kSeparator[] = "\x15";

} // namespace

int32_t TIniVCVProjectFile::GetFlashCount() const {
    return Ini().ReadInteger("Flashs", "Count", 0);
}

void TIniVCVProjectFile::SetFlashCount(int32_t N) {
    Ini().WriteInteger("Flashs", "Count", N);
}

TFlashRec TIniVCVProjectFile::ReadFlash(int32_t Index) const {
    auto f = SplitToList(Ini().ReadString("Flashs", "Flash" + std::to_string(Index), ""), kSeparator);
    if (f.size() < 2) throw EngineError("List index out of bounds (" + std::to_string(f.size()) + ")");
    return {f[0], ExpandPath(f[1])};
}

void TIniVCVProjectFile::WriteFlash(int32_t Index, const TFlashRec& Rec) {
    Ini().WriteString("Flashs", "Flash" + std::to_string(Index),
                      Rec.Name + kSeparator + MakeRelativePath(Rec.FileName));
}

std::vector<std::string> TIniVCVProjectFile::ReadAttachments(int32_t Index) const {
    auto list = SplitToList(Ini().ReadString("Flashs", "Attach" + std::to_string(Index), ""), kSeparator);
    for (auto& item : list) item = ExpandPath(item);
    return list;
}

void TIniVCVProjectFile::WriteAttachments(int32_t Index, const std::vector<std::string>& List) {
    std::string text;
    for (const auto& item : List) text += MakeRelativePath(item) + kSeparator;
    Ini().WriteString("Flashs", "Attach" + std::to_string(Index), text);
}

void TIniVCVProjectFile::ReadSettings() {
    TIniScrProject::ReadSettings();
    TIniFileEx& ini = Ini();
    FlashSetting.OrderMode = ini.ReadInteger("FlashSetting", "OrderMode", 0);
    FlashSetting.ScaleMode = ini.ReadInteger("FlashSetting", "ScaleMode", 0);
    FlashSetting.Quality = ini.ReadInteger("FlashSetting", "Quality", 1);
    FlashSetting.DefBackgroundColor = ini.ReadString("FlashSetting", "DefBackgroundColor", "000000");
}

void TIniVCVProjectFile::WriteSettings() {
    TIniScrProject::WriteSettings();
    TIniFileEx& ini = Ini();
    ini.WriteInteger("FlashSetting", "OrderMode", FlashSetting.OrderMode);
    ini.WriteInteger("FlashSetting", "ScaleMode", FlashSetting.ScaleMode);
    ini.WriteInteger("FlashSetting", "Quality", FlashSetting.Quality);
    ini.WriteString("FlashSetting", "DefBackgroundColor", FlashSetting.DefBackgroundColor);
}

} // namespace somnex
