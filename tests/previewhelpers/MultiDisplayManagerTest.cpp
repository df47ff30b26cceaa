#include "engine/preview/MultiDisplayManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using somnex::IPreviewForm;
using somnex::TPCVMultiDisplayManager;

// Records its close request and its release in a shared log; may call back into the manager from
// its close, as a form's close handler can.
class FakeForm final : public IPreviewForm {
public:
    FakeForm(std::string name, std::vector<std::string>& log, TPCVMultiDisplayManager* callBack = nullptr)
        : name_(std::move(name)), log_(log), callBack_(callBack) {}
    ~FakeForm() override { log_.push_back("release " + name_); }
    void Close() override {
        log_.push_back("close " + name_);
        if (callBack_) callBack_->CloseAll();
    }

private:
    std::string name_;
    std::vector<std::string>& log_;
    TPCVMultiDisplayManager* callBack_;
};

using Log = std::vector<std::string>;

TEST(MultiDisplayManager, ClosesFurtherFormsLastToFirstThenThePlayer) {
    Log log;
    FakeForm player("player", log);
    TPCVMultiDisplayManager m;
    m.SetPreviewForm(&player);
    m.AddForm(std::make_unique<FakeForm>("a", log));
    m.AddForm(std::make_unique<FakeForm>("b", log));
    m.CloseAll();
    EXPECT_EQ(log, (Log{"close b", "release b", "close a", "release a", "close player"}));
    EXPECT_EQ(m.FormCount(), 0u);
    EXPECT_EQ(m.PreviewForm(), &player); // not owned: closed, not released
}

TEST(MultiDisplayManager, NothingRegisteredDoesNothing) {
    TPCVMultiDisplayManager m;
    m.CloseAll();
    EXPECT_EQ(m.PreviewForm(), nullptr);
}

TEST(MultiDisplayManager, ReleasesItsFormsWithItself) {
    Log log;
    {
        TPCVMultiDisplayManager m;
        m.AddForm(std::make_unique<FakeForm>("a", log));
    }
    EXPECT_EQ(log, (Log{"release a"}));
}

// A form whose close runs CloseAll again is not closed twice.
TEST(MultiDisplayManager, CloseThatCallsBackClosesEachFormOnce) {
    Log log;
    TPCVMultiDisplayManager m;
    m.AddForm(std::make_unique<FakeForm>("a", log));
    m.AddForm(std::make_unique<FakeForm>("b", log, &m));
    m.CloseAll();
    EXPECT_EQ(log, (Log{"close b", "close a", "release a", "release b"}));
}

TEST(MultiDisplayManager, ReleasedPlayerFormIsForgotten) {
    Log log;
    TPCVMultiDisplayManager m;
    {
        FakeForm first("first", log);
        m.SetPreviewForm(&first);
        FakeForm other("other", log);
        m.ForgetPreviewForm(&other); // someone else's form: the player stays registered
        EXPECT_EQ(m.PreviewForm(), &first);
        m.ForgetPreviewForm(&first);
    }
    m.CloseAll();
    EXPECT_EQ(log, (Log{"release other", "release first"}));
}

} // namespace
