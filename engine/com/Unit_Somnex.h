#pragma once
// The engine object base (TSomnex with its EngineParams) and the services all engine code uses to
// talk to the user and make folders.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/ComObject.h"
#include "somnex/Somnex.h"

namespace somnex {

using TEngineParams = std::vector<std::string>;

// The caption of every engine message box: the host's product title, empty until it is given.
const std::string& MessageCaption();
void SetMessageCaption(const std::string& caption);

int EngineMessageBox(const std::string& Caption, const std::string& Text, uint32_t Flags);
void ShowInfo(const std::string& Text, uint32_t Flags);
void ShowError(const std::string& Text, uint32_t Flags);
// Adds Yes/No with No as the default button (260) to Flags.
int AskYesNo(const std::string& Text, uint32_t Flags);

bool FolderExists(const std::string& Path);
// Creates Path and every missing folder above it; raises "Unable to create directory" for an
// empty path.
bool CreateFolderPath(const std::string& Path);

// What an operation that a class declares but does not implement raises.
[[noreturn]] void AbstractError();

// Copies the host's list: Last + 1 entries, a null entry giving an empty text.
TEngineParams CopyParams(const char* const* Params, int32_t Last);

// The common base of every engine object, over the interface chain Itf (ISomnex or one of its
// extensions).
template <class Itf>
class TSomnexOf : public plat::ComImpl<Itf> {
public:
    void SetParams(const char* const* Params, int32_t Last) override {
        EngineParams = CopyParams(Params, Last);
    }

    TEngineParams EngineParams;

protected:
    bool Answers(const IID& iid) const override {
        return plat::AnswersOneOf(iid, {IID_IUnknown, IID_ISomnex});
    }
};

class TSomnex final : public TSomnexOf<ISomnex> {};

} // namespace somnex
