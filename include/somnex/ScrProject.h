#pragma once
// Project object interfaces. Wide texts go in as UTF-16 (a BSTR will do) and come back as BSTRs
// the caller frees; record results are written into the caller's storage, last argument.
#include <cstdint>

#include "somnex/Com.h"
#include "somnex/ProjectRecords.h"

inline constexpr IID IID_IScrProject = {
    0x9D2F4C1A, 0x3B6E, 0x4E85, {0xA7, 0xD0, 0x61, 0xC8, 0xB2, 0xF4, 0x5E, 0x93}};
inline constexpr IID IID_IIniScrProject = {
    0x06B7E3D2, 0x8A41, 0x4C1F, {0x9E, 0x5B, 0xD3, 0x8F, 0x70, 0xA2, 0xC6, 0x14}};
inline constexpr IID IID_IIniPCVScrProject = {
    0xE48A1F6C, 0x2D97, 0x4B30, {0x86, 0xE1, 0x5C, 0x0A, 0x93, 0xD7, 0xB2, 0x8F}};
inline constexpr IID IID_IIniVCVScrProject = {
    0x71C5D9B3, 0xE06A, 0x4F28, {0xB4, 0xC9, 0x8A, 0x2E, 0x15, 0xF6, 0x3D, 0x07}};

struct IScrProject : IUnknown {
    virtual void SetTag(const char16_t* Text) = 0;
    virtual BSTR GetFileName() = 0;
    virtual BSTR GetBackupFileName() = 0;
    virtual void GetFileInfo(TFileInfo* Result) = 0;
    virtual void GetScrInfo(TScrInfo* Result) = 0;
    virtual bool IsOpened() = 0;
    virtual void SetScrInfo(const TScrInfo* Info) = 0;
    virtual void SetEditorInfo(const char16_t* EditorName, const char16_t* EditorVersion) = 0;
    virtual void NewProject(const char16_t* FileName) = 0;
    virtual bool OpenProject(const char16_t* FileName) = 0;
    virtual bool WriteProject() = 0;
    virtual void SaveProject(const char16_t* FileName) = 0;
    virtual bool CloseProject() = 0;
    virtual bool IsProjectFile(const char16_t* FileName) = 0;

protected:
    ~IScrProject() = default;
};

struct IIniScrProject : IScrProject {
    virtual void GetControlSetting(TControlSetting* Result) = 0;
    virtual void GetInterfaceSetting(TScreenSaverInterface* Result) = 0;
    virtual void GetInternetBanner(TInternetBanner* Result) = 0;
    virtual void GetPlayerLogo(TPlayerLogo* Result) = 0;
    virtual void SetControlSetting(const TControlSetting* Setting) = 0;
    virtual void SetInterfaceSetting(const TScreenSaverInterface* Setting) = 0;
    virtual void SetInternetBanner(const TInternetBanner* Banner) = 0;
    virtual void SetPlayerLogo(const TPlayerLogo* Logo) = 0;

protected:
    ~IIniScrProject() = default;
};

// The slideshow project: its settings and the picture and music lists. List entries are read and
// written in the file at once; Index counts from 0.
struct IIniPCVScrProject : IIniScrProject {
    virtual void GetImage(int32_t Index, TImageRec* Result) = 0;
    virtual BSTR GetMusic(int32_t Index) = 0;
    virtual void SetImage(int32_t Index, const TImageRec* Image) = 0;
    virtual void SetMusic(int32_t Index, const char16_t* FileName) = 0;
    virtual void GetImageSetting(TImageSetting* Result) = 0;
    virtual void GetMusicSetting(TMusicSetting* Result) = 0;
    virtual void GetBackground(TScreenSaverBackground* Result) = 0;
    virtual void GetEffect(TScreensaverEffect* Result) = 0;
    virtual void GetSplashScreen(TSplashScreen* Result) = 0;
    virtual void GetBuildSetting(TBuildSetting* Result) = 0;
    virtual int32_t GetImageCount() = 0;
    virtual int32_t GetMusicCount() = 0;
    virtual void SetImageSetting(const TImageSetting* Setting) = 0;
    virtual void SetMusicSetting(const TMusicSetting* Setting) = 0;
    virtual void SetBackground(const TScreenSaverBackground* Background) = 0;
    virtual void SetEffect(const TScreensaverEffect* Effect) = 0;
    virtual void SetSplashScreen(const TSplashScreen* Splash) = 0;
    virtual void SetBuildSetting(const TBuildSetting* Setting) = 0;
    virtual void SetImageCount(int32_t Count) = 0;
    virtual void SetMusicCount(int32_t Count) = 0;

protected:
    ~IIniPCVScrProject() = default;
};

// The Flash project: its settings and the movie list with each movie's attached files.
struct IIniVCVScrProject : IIniScrProject {
    virtual void GetFlashSetting(TScreenSaverFlash* Result) = 0;
    virtual int32_t GetFlashCount() = 0;
    virtual void GetFlash(int32_t Index, TFlashRec* Result) = 0;
    virtual void GetAttachments(int32_t Index, TStrArray* Result) = 0;
    virtual void SetFlashSetting(const TScreenSaverFlash* Setting) = 0;
    virtual void SetFlashCount(int32_t Count) = 0;
    virtual void SetFlash(int32_t Index, const TFlashRec* Flash) = 0;
    virtual void SetAttachments(int32_t Index, const TStrArray* Files) = 0;

protected:
    ~IIniVCVScrProject() = default;
};
