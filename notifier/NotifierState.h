#pragma once
// The notifier-wide state that every operation of the news object shares, and what the operations
// need from their surroundings (the clock, the settings store, the windows they show).
#include "notifier/NotifierDate.h"
#include "notifier/NotifierRecords.h"
#include "platform/registry/Registry.h"

#include <filesystem>
#include <functional>
#include <string>

namespace heraldex {

class TChkWhatsNew;
class TParamsDialog;
class TNewsWindow;

// The one modeless news window while it is open.
class TOpenNewsWindow {
public:
    virtual void BringForward() = 0;

protected:
    ~TOpenNewsWindow() = default;
};

struct TNotifierState {
    bool Modal = true;
    std::string CheckURL;
    std::string CurrentProduct;
    std::string InstalledVersion;
    std::string NewsFileName;
    TBaseParam BaseParam;
    TOpenNewsWindow* OpenNewsWindow = nullptr;
};

struct TCheckEnvironment {
    NowFunction Now = SystemNow;
    std::filesystem::path Store = plat::Registry::DefaultStorePath();
    // Shows the progress window modally and returns once it has closed; empty for the real one.
    std::function<void(TChkWhatsNew&)> ShowProgress;
    // Shows the settings dialog modally; empty for the real one.
    std::function<void(TParamsDialog&)> ShowParams;
    // Shows a modal news window and returns once it has closed; empty for the real one.
    std::function<void(TNewsWindow&)> ShowNewsModal;
};

} // namespace heraldex
