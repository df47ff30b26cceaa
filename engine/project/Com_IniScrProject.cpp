#include "engine/project/Com_IniScrProject.h"

#include <new>

#include "platform/text/AnsiText.h"

namespace somnex {

namespace {
void Put(const std::string& from, BSTR& to) {
    to = ToBstr(from);
}
template <class T>
void Put(const T& from, T& to) {
    to = from;
}
void Take(const char16_t* from, std::string& to) {
    to = FromWide(from);
}
template <class T>
void Take(const T& from, T& to) {
    to = from;
}

void NeedRecord(const void* record) {
    if (!record) throw EngineError("A record argument was not given");
}
} // namespace

BSTR ToBstr(const std::string& Text) {
    BSTR b = plat::AnsiToBstr(Text);
    if (!b) throw std::bad_alloc();
    return b;
}

std::string FromWide(const char16_t* Text) {
    // Up to the terminating zero, not by a length prefix: hosts may pass plain UTF-16 texts.
    return Text ? plat::WideToAnsi(std::u16string_view(Text)) : std::string();
}

#define SOMNEX_TO_COM(f) Put(From.f, r.f);
#define SOMNEX_FROM_COM(f) Take(From->f, r.f);
#define SOMNEX_DEFINE_CONVERT(R)                                                                             \
    void ToCom(const R& From, ::R* To) {                                                                     \
        NeedRecord(To);                                                                                      \
        ::R r{};                                                                                             \
        try {                                                                                                \
            SOMNEX_FIELDS_##R(SOMNEX_TO_COM)                                                                 \
        } catch (...) {                                                                                      \
            FreeRecord(r);                                                                                   \
            throw;                                                                                           \
        }                                                                                                    \
        FreeRecord(*To);                                                                                     \
        *To = r;                                                                                             \
    }                                                                                                        \
    void FromCom(const ::R* From, R& To) {                                                                   \
        NeedRecord(From);                                                                                    \
        R r;                                                                                                 \
        SOMNEX_FIELDS_##R(SOMNEX_FROM_COM) To = std::move(r);                                                \
    }
SOMNEX_RECORDS(SOMNEX_DEFINE_CONVERT)
#undef SOMNEX_DEFINE_CONVERT
#undef SOMNEX_FROM_COM
#undef SOMNEX_TO_COM

void ToCom(const std::vector<std::string>& From, TStrArray* To) {
    NeedRecord(To);
    TStrArray a{};
    if (!From.empty()) {
        a.Items = static_cast<BSTR*>(std::calloc(From.size(), sizeof(BSTR)));
        if (!a.Items) throw std::bad_alloc();
        try {
            for (const std::string& s : From) {
                a.Items[a.Count] = ToBstr(s);
                ++a.Count;
            }
        } catch (...) {
            FreeRecord(a);
            throw;
        }
    }
    FreeRecord(*To);
    *To = a;
}

void FromCom(const TStrArray* From, std::vector<std::string>& To) {
    NeedRecord(From);
    if (From->Count < 0 || (From->Count > 0 && !From->Items))
        throw EngineError("The file list holds " + std::to_string(From->Count) + " entries but no array");
    std::vector<std::string> list;
    list.reserve(static_cast<size_t>(From->Count));
    for (int32_t i = 0; i < From->Count; ++i) list.push_back(FromWide(From->Items[i]));
    To = std::move(list);
}

void RequireProject(const TIniScrProject& Project) {
    if (!Project.IniFile) throw EngineError("No project has been made or opened");
}

} // namespace somnex
