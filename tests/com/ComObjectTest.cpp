#include "platform/com/ClassFactory.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

constexpr IID IID_ITest = {0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr IID IID_IOther = {0x99999999, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};

struct ITest : IUnknown {
    virtual int32_t Value() = 0;

protected:
    ~ITest() = default;
};

class TestObject final : public plat::ComImpl<ITest> {
public:
    int32_t Value() override { return 42; }

protected:
    bool Answers(const IID& iid) const override { return plat::AnswersOneOf(iid, {IID_IUnknown, IID_ITest}); }
};

TEST(ComObject, LivesUntilTheLastReleaseAndCountsItself) {
    int32_t before = plat::ModuleCounts::LiveObjects();
    auto* object = new TestObject;
    EXPECT_EQ(plat::ModuleCounts::LiveObjects(), before + 1);
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(plat::ModuleCounts::LiveObjects(), before);
}

TEST(ComObject, QueryInterfaceAnswersOnlyItsChain) {
    auto* object = new TestObject;
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(IID_IOther, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_ITest, nullptr), E_POINTER);
    ASSERT_EQ(object->QueryInterface(IID_ITest, &p), S_OK);
    EXPECT_EQ(static_cast<ITest*>(p)->Value(), 42);
    EXPECT_EQ(object->Release(), 1u); // the reference QueryInterface added
    object->Release();
}

class FactoryTest : public ::testing::Test {
protected:
    plat::ClassFactory factory{[] { return static_cast<IUnknown*>(new TestObject); }};
};

TEST_F(FactoryTest, CreatesNewObjectsForAnAnsweredInterface) {
    void* a = nullptr;
    void* b = nullptr;
    ASSERT_EQ(factory.CreateInstance(nullptr, IID_ITest, &a), S_OK);
    ASSERT_EQ(factory.CreateInstance(nullptr, IID_ITest, &b), S_OK);
    EXPECT_NE(a, b);
    EXPECT_EQ(static_cast<ITest*>(a)->Release(), 0u);
    EXPECT_EQ(static_cast<ITest*>(b)->Release(), 0u);
}

TEST_F(FactoryTest, UnansweredInterfaceLeavesNoObjectAlive) {
    int32_t before = plat::ModuleCounts::LiveObjects();
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory.CreateInstance(nullptr, IID_IOther, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(plat::ModuleCounts::LiveObjects(), before);
}

TEST_F(FactoryTest, RefusesAggregation) {
    auto* outer = new TestObject;
    void* p = nullptr;
    EXPECT_EQ(factory.CreateInstance(outer, IID_ITest, &p), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(p, nullptr);
    outer->Release();
}

TEST(ClassFactory, CreatorErrorsBecomeResults) {
    plat::ClassFactory noMemory([]() -> IUnknown* { throw std::bad_alloc(); });
    plat::ClassFactory broken([]() -> IUnknown* { throw std::runtime_error("x"); });
    void* p = nullptr;
    EXPECT_EQ(noMemory.CreateInstance(nullptr, IID_IUnknown, &p), E_OUTOFMEMORY);
    EXPECT_EQ(broken.CreateInstance(nullptr, IID_IUnknown, &p), E_FAIL);
}

TEST_F(FactoryTest, LocksCountAndNeverGoNegative) {
    ASSERT_TRUE(plat::ModuleCounts::CanUnload());
    factory.LockServer(1);
    EXPECT_FALSE(plat::ModuleCounts::CanUnload());
    factory.LockServer(0);
    EXPECT_TRUE(plat::ModuleCounts::CanUnload());
    factory.LockServer(0);
    factory.LockServer(1);
    EXPECT_FALSE(plat::ModuleCounts::CanUnload()); // the surplus unlock was not banked
    factory.LockServer(0);
}

TEST_F(FactoryTest, AnswersBothFactoryInterfacesWithoutLicensing) {
    void* p = nullptr;
    ASSERT_EQ(factory.QueryInterface(IID_IClassFactory2, &p), S_OK);
    auto* f2 = static_cast<IClassFactory2*>(p);
    LICINFO info{};
    EXPECT_EQ(f2->GetLicInfo(&info), S_OK);
    EXPECT_EQ(info.fLicVerified, 1);
    BSTR key = nullptr;
    EXPECT_EQ(f2->RequestLicKey(0, &key), CLASS_E_NOTLICENSED);
    EXPECT_EQ(key, nullptr);
    void* object = nullptr;
    ASSERT_EQ(f2->CreateInstanceLic(nullptr, nullptr, IID_ITest, nullptr, &object), S_OK);
    static_cast<ITest*>(object)->Release();
}

} // namespace
