#include "platform/core/Component.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace core;

namespace {

// Records its destruction and the removals it hears of.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string label, std::vector<std::string>& log)
        : TComponent(owner), label_(std::move(label)), log_(log) {}
    ~Probe() override { log_.push_back("free " + label_); }

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove && component->Name() != "")
            log_.push_back(label_ + " heard " + component->Name());
    }

private:
    std::string label_;
    std::vector<std::string>& log_;
};

} // namespace

TEST(Component, OwnerFreesWhatItOwnsLastCreatedFirst)
{
    std::vector<std::string> log;
    auto* owner = new Probe(nullptr, "owner", log);
    new Probe(owner, "a", log);
    auto* b = new Probe(owner, "b", log);
    new Probe(b, "b1", log);
    new Probe(owner, "c", log);
    EXPECT_EQ(owner->ComponentCount(), 3);
    delete owner;
    EXPECT_EQ(log, (std::vector<std::string>{"free owner", "free c", "free b", "free b1", "free a"}));
}

TEST(Component, FindComponentIgnoresAsciiCaseAndNamesAreUniquePerOwner)
{
    TComponent owner(nullptr);
    auto* grid = new TComponent(&owner);
    grid->SetName("DBGrid1");
    EXPECT_EQ(owner.FindComponent("dbgrid1"), grid);
    EXPECT_EQ(owner.FindComponent("DBGrid2"), nullptr);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    auto* other = new TComponent(&owner);
    EXPECT_THROW(other->SetName("DBGRID1"), EComponentError);
    EXPECT_EQ(grid->ComponentIndex(), 0);
    EXPECT_EQ(other->ComponentIndex(), 1);
}

TEST(Component, FreeNotificationReachesTheWatcherOnce)
{
    std::vector<std::string> log;
    Probe watcher(nullptr, "watcher", log);
    {
        TComponent watched(nullptr);
        watched.SetName("source");
        watched.FreeNotification(&watcher);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"watcher heard source"}));
}

TEST(Component, RemovedComponentIsNoLongerFreedByItsOldOwner)
{
    TComponent owner(nullptr);
    auto* child = new TComponent(&owner);
    owner.RemoveComponent(child);
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(child->Owner(), nullptr);
    delete child;
}

TEST(Exceptions, AbortIsSilentAndMessagesAreKept)
{
    EXPECT_THROW(Abort(), EAbort);
    try {
        throw EInOutError("Cannot create directory", 13);
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot create directory");
        EXPECT_STREQ(e.what(), "Cannot create directory");
    }
}
