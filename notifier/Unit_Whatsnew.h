#pragma once
// The maker's news file: an INI file with an "Info" section, dated news items and a catalogue of
// products. Read once when the object is made; the writing operations serve tools that make files.
#include "notifier/NotifierDate.h"
#include "notifier/NotifierRecords.h"
#include "shared/ini/IniFileEx.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace heraldex {

// Counts beyond this are read as this many entries, so a hostile count cannot keep the reader busy.
inline constexpr int32_t kMaxNewsFileEntries = 1000;

class TWhatsNew {
public:
    // A missing file reads as empty: every value takes its default.
    explicit TWhatsNew(std::string FileName, NowFunction now = SystemNow);

    const std::string& FileName() const { return FileName_; }

    void ReadInformation();
    // Names of products 1..ProduceCount in file order, empty names included.
    void GetProduceNameList(std::vector<std::string>& List) const;
    // I is 1-based.
    void GetNews(int32_t I, TNews& News) const;
    // 0-based position of the first product named Name (letter case ignored), or -1.
    int32_t FindProduce(std::string_view Name) const;
    // J is 1-based (position + 1).
    void GetProduce(int32_t J, TProduct& Product) const;
    // True when InstalledVersion orders strictly before the file's version, byte by byte.
    bool IsProduceUpdate(std::string_view Name, std::string_view InstalledVersion) const;

    // Writes today's date as "UpdateDate", not the loaded one.
    void SaveInformation();
    void SaveNews(int32_t I, const TNews& News);
    void SaveProduce(int32_t J, const TProduct& Product);

    // Section "Info" as read (counts clamped to 0..kMaxNewsFileEntries).
    std::string UpdateDate;
    int32_t NewsCount = 0;
    int32_t ProduceCount = 0;
    bool UpdateWhatsNewURL = false;
    std::string WhatsNewURL;
    std::vector<std::string> ProduceNames;

private:
    std::string FileName_;
    somnex::TIniFileEx Ini_;
    NowFunction Now_;
};

} // namespace heraldex
