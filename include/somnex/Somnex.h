#pragma once
// The engine's classes and interfaces as a host sees them. A host creates objects by CLSID
// through the engine library's DllGetClassObject (or a COM runtime's CoCreateInstance) and calls
// them through these interfaces. Engine errors raised inside a call reach the host as
// somnex::EngineError.
#include <cstdint>

#include "somnex/Com.h"
#include "somnex/EngineError.h"
#include "somnex/ScrProject.h"

// The type library: its name is the first part of every ProgID ("Somnex.PcvCompiler").
inline constexpr GUID LIBID_Somnex = {
    0xC71B2E47, 0x6D35, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};

inline constexpr IID IID_ISomnex = {
    0xC71B2E41, 0x6D35, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};
inline constexpr IID IID_IScrCompiler = {
    0xC71B2E42, 0x6D35, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};
inline constexpr IID IID_IScrPreview = {
    0xC71B2E43, 0x6D35, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};

inline constexpr CLSID CLSID_ScrProject = IID_IScrProject;
inline constexpr CLSID CLSID_IIniScrProject = IID_IIniScrProject;
inline constexpr CLSID CLSID_IIniPCVScrProject = IID_IIniPCVScrProject;
inline constexpr CLSID CLSID_IIniVCVScrProject = IID_IIniVCVScrProject;
inline constexpr CLSID CLSID_Somnex = {
    0xC71B2E44, 0x6D35, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};
inline constexpr CLSID CLSID_ScrCompiler = {
    0xC71B2E45, 0x6D35, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};
inline constexpr CLSID CLSID_ScrPreview = {
    0x5E04A7B0, 0x6D9F, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};
inline constexpr CLSID CLSID_PcvCompiler = {
    0xC71B2E46, 0x6D35, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};
inline constexpr CLSID CLSID_PcvPreview = {
    0x5E04A7B1, 0x6D9F, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};
inline constexpr CLSID CLSID_VcvCompiler = {
    0x2B8D31F0, 0x6E42, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};
inline constexpr CLSID CLSID_VcvPreview = {
    0x8F6C2250, 0x6E90, 0x11D7, {0x8A, 0x3C, 0x5E, 0x21, 0xD7, 0xF0, 0x4B, 0x96}};

// Receives the host's parameter list: Params[0..Last], Last = -1 for none. The engine copies
// every text; a null entry becomes an empty text.
struct ISomnex : IUnknown {
    virtual void SetParams(const char* const* Params, int32_t Last) = 0;

protected:
    ~ISomnex() = default;
};

// Value: the build kind (2 leaves the player executable out of the package).
struct IScrCompiler : ISomnex {
    virtual bool Compile(int32_t Value) = 0;

protected:
    ~IScrCompiler() = default;
};

struct IScrPreview : ISomnex {
    virtual bool Preview(bool Flag, int32_t Value) = 0;

protected:
    ~IScrPreview() = default;
};
