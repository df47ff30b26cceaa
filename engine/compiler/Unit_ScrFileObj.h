#pragma once
// The databases a build packs into a screensaver: the parameter database with every setting the
// player reads, and the media libraries with the prepared pictures, the music and the movies.
#include "engine/project/Unit_IniPcvProjectFile.h"
#include "engine/project/Unit_IniScrProjectFile.h"
#include "engine/project/Unit_IniVcvProjectFile.h"
#include "engine/store/TTinyDatabase.h"
#include "engine/store/TTinyTable.h"
#include "engine/store/Unit_DBParams.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace somnex {

// The password of the parameter database and of every library.
inline constexpr const char* kScrFilePassword = "TORVALQUINE";
inline constexpr const char* kParamsFileComment = "Brindlewood DBParamsFile";

struct TEditorVersion {
    bool CanModifyParams = false;
    std::string Editor;
    std::string Version;
};

// What PictureToJpeg makes of a picture.
enum TPictureKind : int32_t {
    pkWallpaper = 0,   // the picture's own size
    pkAuthorPhoto = 1, // 160 x 120
    pkPreview = 2,     // 152 x 122
    pkSplash = 3,      // unchanged
    pkBanner = 4,      // 350 x 50
};

class TScrBaseParamsFile {
public:
    TScrBaseParamsFile() = default;
    virtual ~TScrBaseParamsFile();
    TScrBaseParamsFile(const TScrBaseParamsFile&) = delete;
    TScrBaseParamsFile& operator=(const TScrBaseParamsFile&) = delete;

    virtual void SaveVariant(TDBParams& Store);
    virtual void LoadVariant(TDBParams& Store);
    // Deletes the temporary files LoadVariant made when asked, then closes the store.
    virtual void CloseParamsFile(bool DeleteTemps);

    // Creates the database when it does not exist, then opens it.
    void CreateParamsFile(const std::string& FileName);
    // Opens an existing database unless the store is already open.
    void OpenParamsFile(const std::string& FileName);
    // The common sections, then SaveVariant. Picture and store errors reach the caller.
    bool SaveCommon();
    // Replaces Stream by a JPEG of the picture made for `Kind` (TPictureKind) at JpegQuality,
    // first corrected to 90 when outside 80..95. Load and encode errors reach the caller.
    bool PictureToJpeg(const std::string& FileName, int32_t Kind, std::vector<uint8_t>& Stream);

    // Entries 3, 4 and 5: the wallpaper, splash picture and splash sound LoadVariant wrote.
    std::array<std::string, 9> TempFiles;
    std::string TempFolder; // ends with a separator
    int32_t JpegQuality = 0;
    TTinyDBParams Store;
    bool ProcessValues = false;

    TEditorVersion EditorInfo;
    TScrInfo ScrInfo;
    TControlSetting ControlSetting;
    TScreenSaverInterface InterfaceSetting;
    TInternetBanner InternetBanner;
    TPlayerLogo PlayerLogo;
};

class TScrPcvParamsFile : public TScrBaseParamsFile {
public:
    void SaveVariant(TDBParams& Store) override;
    void LoadVariant(TDBParams& Store) override;

    int32_t ImageCount = 0;
    int32_t MusicCount = 0; // 0 when the music is muted
    int32_t Width = 0;
    int32_t Height = 0;
    TImageSetting ImageSetting;
    TMusicSetting MusicSetting;
    TScreenSaverBackground Background;
    TSplashScreen SplashScreen; // SplashScreen.SplashScreen: the prepared splash picture
    TScreensaverEffect Effect;
};

class TScrVcvParamsFile : public TScrBaseParamsFile {
public:
    void SaveVariant(TDBParams& Store) override;
    void LoadVariant(TDBParams& Store) override;

    int32_t FlashCount = 0;
    TScreenSaverFlash FlashSetting;
};

// ---- Media libraries ----

// One library database: zlib at the fast level and GOST, no comment, no index, one table.
class TScrBaseLibFile {
public:
    TScrBaseLibFile() = default;
    virtual ~TScrBaseLibFile();
    TScrBaseLibFile(const TScrBaseLibFile&) = delete;
    TScrBaseLibFile& operator=(const TScrBaseLibFile&) = delete;

    // The store's success result is not examined: a failed creation shows when the table opens.
    virtual void CreateLibrary(const std::string& FileName);
    // Swallows every error; the table then stays closed and the first Add... fails.
    virtual void OpenLibrary(const std::string& FileName, const std::string& TableName);
    virtual void CloseLibrary();

    uint8_t CompressLevel = clFast;
    TTinyDatabase Database;
    TTinyTable Table;

protected:
    void createTable(const std::string& FileName, const std::string& TableName,
                     const std::vector<TFieldDef>& Fields);
    // Appends a record holding the file's name part (cut to 100 characters) and bytes.
    void addNamedFile(const std::string& FilePath, const char* DataField);
};

class TScrImageFile : public TScrBaseLibFile {
public:
    void CreateLibrary(const std::string& FileName) override;
    // Options: interval, transition, step, delay.
    void AddImage(const std::vector<uint8_t>& Jpeg, int32_t Interval, int32_t TransformID, int32_t EffectStep,
                  int32_t EffectDelay);
};

class TScrMusicFile : public TScrBaseLibFile {
public:
    void CreateLibrary(const std::string& FileName) override;
    void AddMusic(const std::string& FilePath);

    // Compress and encrypt "MusicData"; read when the library is created.
    bool ProcessMusic = false;
};

class TScrFlashFile : public TScrBaseLibFile {
public:
    void CreateLibrary(const std::string& FileName) override;
    void AddFlash(const std::string& FilePath);
};

// The "ImageOpts" text: each number in decimal followed by the character with code 23.
std::string ImageOptsText(int32_t Interval, int32_t TransformID, int32_t EffectStep, int32_t EffectDelay);
inline constexpr char kImageOptsSeparator = '\x17';
inline constexpr int kLibFileNameSize = 100;

} // namespace somnex
