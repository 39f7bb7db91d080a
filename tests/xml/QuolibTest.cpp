#include "xml/Quolib.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>
#include <vector>

#include "xml/XmlParser.hpp"

namespace Quolib {
namespace {

// Counts the objects alive, to see them go.
struct SCounted {
    SCounted() { ++s_nAlive; }
    SCounted(const SCounted& other) : nValue(other.nValue) { ++s_nAlive; }
    SCounted& operator=(const SCounted&) = default;
    virtual ~SCounted() { --s_nAlive; }
    int nValue = 0;
    static inline int s_nAlive = 0;
};
struct SOther {
    virtual ~SOther() = default;
};

TEST(Quolib, TheLastHandleDestroysTheObjectAndWeakReferencesSeeItGo) {
    WeakRef<SCounted> weak;
    {
        Ref<SCounted> first = ClassOf<SCounted>::Create();
        EXPECT_EQ(first.GetObject()->RefCount(), 1);
        Ref<SCounted> second = first;
        weak = WeakRef<SCounted>(first);
        EXPECT_EQ(first.GetObject()->RefCount(), 2);
        EXPECT_EQ(weak.Lock().Get(), first.Get());
        EXPECT_EQ(SCounted::s_nAlive, 1);
    }
    EXPECT_EQ(SCounted::s_nAlive, 0);
    EXPECT_FALSE(weak.Lock());
}

TEST(Quolib, CountsHoldUnderHandlesCopiedAcrossThreads) {
    const Ref<SCounted> shared = ClassOf<SCounted>::Create();
    const WeakRef<SCounted> weak(shared);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                const Ref<SCounted> copy = i % 2 == 0 ? shared : weak.Lock();
                EXPECT_TRUE(copy);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(shared.GetObject()->RefCount(), 1);
}

TEST(Quolib, DroppingTheDocumentFreesTheWholeTree) {
    std::istringstream input("<a><b><c/></b></a>");
    MyXML::DocumentRef document = MyXML::ParseDocument(input);
    MyXML::ElementRef b = Quolib::RefCast<MyXML::Element>(document->m_root->Child(0));
    const WeakRef<MyXML::Node> c(b->Child(0));
    EXPECT_EQ(c.Lock()->Parent().Get(), b.Get());
    document = {};
    EXPECT_TRUE(c.Lock());      // b is still held, and b holds c
    EXPECT_FALSE(b->Parent());  // a is gone: children do not hold their parents
    b = {};
    EXPECT_FALSE(c.Lock());
}

}  // namespace
}  // namespace Quolib
