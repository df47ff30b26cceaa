#pragma once
// The notifier's settings in the per-user registry: proxy, update schedule per product, the state
// of news already seen and the news window's size. Every operation opens its own accessor on the
// store (the default one unless a store file is given) and closes it before it returns.
#include "notifier/NotifierRecords.h"
#include "platform/registry/Registry.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace heraldex {

inline constexpr std::string_view kWhatsNewKey = "\\Software\\Brindlewood\\WhatsNew\\";
inline constexpr std::string_view kProxyKey = "\\Software\\Brindlewood\\WhatsNew\\Proxy\\";
inline constexpr std::string_view kUpdateKey = "\\Software\\Brindlewood\\WhatsNew\\Update\\";
inline constexpr std::string_view kWindowKey = "\\Software\\Brindlewood\\WhatsNew\\Window\\";
// The browser's proxy: the default user's settings under HKEY_USERS.
inline constexpr std::string_view kBrowserKey =
    ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";

// Errors are somnex::EngineError with the texts "Invalid data type for '%s'", "Failed to get data
// for '%s'" and "Failed to set data for '%s'".
void ReadProxyParam(TProxyParam& Param,
                    const std::filesystem::path& store = plat::Registry::DefaultStorePath());
void SaveProxyParam(const TProxyParam& Param,
                    const std::filesystem::path& store = plat::Registry::DefaultStorePath());
// Sets Enable and possibly ProxyServer/ProxyPort from the browser; never raises for bad values.
void ReadIEProxyParam(TProxyParam& Param,
                      const std::filesystem::path& store = plat::Registry::DefaultStorePath());

void ReadUpdateParam(std::string_view ProductName, TUpdateParam& Param,
                     const std::filesystem::path& store = plat::Registry::DefaultStorePath());
void SaveUpdateParam(std::string_view ProductName, const TUpdateParam& Param,
                     const std::filesystem::path& store = plat::Registry::DefaultStorePath());
void SaveLastUpdateDate(std::string_view ProductName, TDateTime Date,
                        const std::filesystem::path& store = plat::Registry::DefaultStorePath());

// Leaves HasUpdate and HasNews alone.
void ReadBaseParam(TBaseParam& Param,
                   const std::filesystem::path& store = plat::Registry::DefaultStorePath());
void SaveBaseParam(const TBaseParam& Param,
                   const std::filesystem::path& store = plat::Registry::DefaultStorePath());

void ReadWindowSize(int32_t& Width, int32_t& Height,
                    const std::filesystem::path& store = plat::Registry::DefaultStorePath());
void SaveWindowSize(int32_t Width, int32_t Height,
                    const std::filesystem::path& store = plat::Registry::DefaultStorePath());

} // namespace heraldex
