#pragma once
// The news and update notifier as a host sees it. A host creates the one class by CLSID through
// the library's DllGetClassObject (or a COM runtime's CoCreateInstance) and calls it through
// IWhatNewCOM. Texts are zero-terminated 8-bit strings owned by the caller; the notifier copies
// them. No error escapes an operation: the notifier reports its own errors in a message box.
#include "somnex/Com.h"

// The type library: its name is the first part of the ProgID ("Heraldex.WhatNewCOM").
inline constexpr GUID LIBID_Heraldex = {
    0x4A9E1B38, 0x6B12, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};
inline constexpr CLSID CLSID_WhatNewCOM = {
    0x4A9E1B36, 0x6B12, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};
inline constexpr IID IID_IWhatNewCOM = {
    0x4A9E1B37, 0x6B12, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};

// The slot order after the three IUnknown operations is part of the contract.
struct IWhatNewCOM : IUnknown {
    // Whether the news window is shown modally (the default) or left open on its own.
    virtual void SetModal(bool Value) = 0;
    virtual bool GetModal() = 0;
    // The connection settings dialog for the product, modal.
    virtual void ShowOptions(const char* ProductName) = 0;
    // Whether an automatic check is due now; may ask the user to confirm.
    virtual bool IsTimeToCheck(const char* ProductName) = 0;
    // The news window for the product, from the local copy of the news file.
    virtual void ShowNews(const char* ProductName) = 0;
    // Downloads the news file from URL and evaluates it; true when it brought news or an update.
    virtual bool CheckUpdate(const char* ProductName, const char* Version, const char* URL) = 0;
    // CheckUpdate, then the news window whatever the check found.
    virtual void CheckUpdateAndShowNews(const char* ProductName, const char* Version, const char* URL) = 0;

protected:
    ~IWhatNewCOM() = default;
};
