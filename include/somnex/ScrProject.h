#pragma once
// Project object interfaces. Wide texts go in as UTF-16 (a BSTR will do) and come back as BSTRs
// the caller frees; record results are written into the caller's storage, last argument.
#include <cstdint>

#include "somnex/Com.h"

// The records belong to the project files; hosts include their definitions from there.
struct TFileInfo;
struct TScrInfo;
struct TControlSetting;
struct TScreenSaverInterface;
struct TInternetBanner;
struct TPlayerLogo;

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

// The product interfaces continue with the settings and lists of each product.
struct IIniPCVScrProject : IIniScrProject {
protected:
    ~IIniPCVScrProject() = default;
};

struct IIniVCVScrProject : IIniScrProject {
protected:
    ~IIniVCVScrProject() = default;
};
