#pragma once
// The notifier's plain value records: settings kept in the registry and the entries of the news file.
#include <cstdint>
#include <string>

namespace heraldex {

// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;

struct TProxyParam {
    std::string Port = "80"; // for URLs that name no port
    bool Enable = false;
    bool UsePwd = false;
    std::string ProxyServer;
    std::string ProxyPort;
    std::string ProxyUserID;
    std::string ProxyPassword; // plain text, as the user typed it
};

struct TUpdateParam {
    TDateTime LastUpdateDate = 36526.0; // 1 January 2000
    int32_t UpdateType = 2;             // 0 every start, 1 weekly, 2 monthly, 3 manually
    bool ShowCfgDialog = true;
};

struct TBaseParam {
    std::string PreviousDate = "2000-01-01"; // "UpdateDate" of the last news file that counted as news
    std::string WhatsNewURL;
    bool UseNewURL = false;
    // Results of the latest check; never stored.
    bool HasUpdate = false;
    bool HasNews = false;
};

struct TNews {
    std::string Date;
    std::string News;
    std::string URL;
};

struct TProduct {
    std::string Name;
    std::string Version;
    std::string Size;
    std::string Date;
    std::string License = "Shareware";
    std::string Category = "Product";
    std::string DownloadURL;
    std::string ScreenshotURL;
    std::string WhatsNew;
    std::string Description;
};

} // namespace heraldex
