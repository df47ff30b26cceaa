#pragma once
// Closes every form a preview opened: the running player form (not owned) and any further forms
// (owned, released as they are closed).
#include <memory>
#include <vector>

namespace somnex {

// What the manager needs of a form: a close request, which goes through the form's close query.
class IPreviewForm {
public:
    virtual ~IPreviewForm() = default;
    virtual void Close() = 0;
};

class TMultiDisplayManager {
public:
    TMultiDisplayManager() = default;
    virtual ~TMultiDisplayManager() = default;
    TMultiDisplayManager(const TMultiDisplayManager&) = delete;
    TMultiDisplayManager& operator=(const TMultiDisplayManager&) = delete;

    IPreviewForm* PreviewForm() const { return previewForm_; }
    void SetPreviewForm(IPreviewForm* form) { previewForm_ = form; }
    // A form that goes away calls this, so a later CloseAll never reaches a released form.
    void ForgetPreviewForm(const IPreviewForm* form) {
        if (previewForm_ == form) previewForm_ = nullptr;
    }

    void AddForm(std::unique_ptr<IPreviewForm> form) { forms_.push_back(std::move(form)); }
    size_t FormCount() const { return forms_.size(); }

    // The further forms last to first, then the player form.
    void CloseAll();

private:
    IPreviewForm* previewForm_ = nullptr;
    std::vector<std::unique_ptr<IPreviewForm>> forms_;
};

class TPCVMultiDisplayManager : public TMultiDisplayManager {};

} // namespace somnex
