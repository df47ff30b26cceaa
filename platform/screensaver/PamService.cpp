#include "platform/screensaver/PamService.h"

#include <filesystem>
#include <system_error>

namespace plat {

std::string ChoosePamService(const std::function<bool(const std::string& path)>& fileExists) {
    for (const char* dir : {"/etc/pam.d/", "/usr/lib/pam.d/", "/usr/share/pam.d/"})
        if (fileExists(std::string(dir) + "somnex")) return "somnex";
    return "login";
}

std::string PamService() {
    return ChoosePamService([](const std::string& path) {
        std::error_code ec;
        return std::filesystem::is_regular_file(path, ec);
    });
}

} // namespace plat
