#pragma once
// The notifier-wide state that every operation of the news object shares, and what a check
// needs from its surroundings (the clock, the settings store, the progress window).
#include "notifier/NotifierDate.h"
#include "notifier/NotifierRecords.h"
#include "platform/registry/Registry.h"

#include <filesystem>
#include <functional>
#include <string>

namespace heraldex {

class TChkWhatsNew;

struct TNotifierState {
    bool Modal = true;
    std::string CheckURL;
    std::string CurrentProduct;
    std::string InstalledVersion;
    std::string NewsFileName;
    TBaseParam BaseParam;
};

struct TCheckEnvironment {
    NowFunction Now = SystemNow;
    std::filesystem::path Store = plat::Registry::DefaultStorePath();
    // Shows the progress window modally and returns once it has closed; empty for the real one.
    std::function<void(TChkWhatsNew&)> ShowProgress;
};

} // namespace heraldex
