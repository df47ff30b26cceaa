#pragma once
// TIniVCVProjectFile: the Flash project, with its FlashSetting section and the movie list (each
// movie a name, a path and optionally a list of attached files), read and written per entry.
#include "engine/project/Unit_IniScrProjectFile.h"

#include <vector>

namespace somnex {

struct TScreenSaverFlash {
    int32_t ScaleMode = 0;
    int32_t Quality = 0;
    int32_t OrderMode = 0;
    std::string DefBackgroundColor;
};

/// One movie: the host's label and the full path of its file.
struct TFlashRec {
    std::string Name;
    std::string FileName;
};

class TIniVCVProjectFile : public TIniScrProject {
public:
    TScreenSaverFlash FlashSetting;

    int32_t GetFlashCount() const;
    void SetFlashCount(int32_t N);
    /// Raises "List index out of bounds (%d)" for a line of fewer than two fields.
    TFlashRec ReadFlash(int32_t Index) const;
    void WriteFlash(int32_t Index, const TFlashRec& Rec);
    /// Full paths in order; empty when the movie has none.
    std::vector<std::string> ReadAttachments(int32_t Index) const;
    void WriteAttachments(int32_t Index, const std::vector<std::string>& List);

    void ReadSettings() override;
    void WriteSettings() override;
};

} // namespace somnex
