#include "xml/Debug.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace xml;

namespace {

struct Heard {
    core::TObject* sender;
    TxDebugLevel level;
    std::string message;
};

TOnDebugMessage Recorder(std::vector<Heard>& log)
{
    return [&log](core::TObject* sender, TxDebugLevel level, const std::string& message) {
        log.push_back({sender, level, message});
    };
}

class Node : public TDebugPersistent {
public:
    using TDebugPersistent::TDebugPersistent;
};

} // namespace

TEST(Debug, MessageClimbsToTheFirstAssignedHandler)
{
    std::vector<Heard> outer, inner;
    TDebugComponent top(nullptr);
    top.OnDebugMessage = Recorder(outer);
    auto* middle = new TDebugComponent(&top);
    auto* document = new TDebugComponent(middle);
    Node node(document);

    node.EmitDebug(&node, dlFail, "missing end tag");
    ASSERT_EQ(outer.size(), 1u);
    EXPECT_EQ(outer[0].sender, &node) << "the sender stays the object that emitted";
    EXPECT_EQ(outer[0].level, dlFail);
    EXPECT_EQ(outer[0].message, "missing end tag");

    middle->OnDebugMessage = Recorder(inner);
    document->EmitDebug(document, dlHint, "x");
    EXPECT_EQ(inner.size(), 1u) << "the nearest handler takes it";
    EXPECT_EQ(outer.size(), 1u) << "and only that one";
}

TEST(Debug, ChainEndsAtAnOrdinaryComponentOrWithoutOwner)
{
    std::vector<Heard> log;
    TDebugComponent listener(nullptr);
    listener.OnDebugMessage = Recorder(log);
    core::TComponent form(&listener); // not a debug component: the walk stops here
    auto* document = new TDebugComponent(&form);
    Node node(document);
    node.EmitDebug(&node, dlFail, "dropped");
    EXPECT_TRUE(log.empty());

    Node orphan(nullptr);
    orphan.EmitDebug(&orphan, dlWarn, "vanishes"); // nothing to reach, nothing raised
    EXPECT_EQ(orphan.DebugOwner(), nullptr);
}

TEST(Debug, LevelNamesAndFormatting)
{
    EXPECT_STREQ(DebugLevelNames[dlInfo], "info");
    EXPECT_STREQ(DebugLevelNames[dlHint], "hint");
    EXPECT_STREQ(DebugLevelNames[dlWarn], "warn");
    EXPECT_STREQ(DebugLevelNames[dlFail], "fail");
    EXPECT_EQ(DebugFormat("illegal tag (\"%s\") at pos %lld", "<", 42LL), "illegal tag (\"<\") at pos 42");
    const std::string name(1000, 'n');
    EXPECT_EQ(DebugFormat("moving node \"%s\"", name.c_str()), "moving node \"" + name + "\"");
}
