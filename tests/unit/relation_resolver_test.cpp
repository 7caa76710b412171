// Which state each LED shows for a relation list and a set of active events.
#include "engine/relation_resolver.h"
#include "settings/led_vocabulary.h"

#include <gtest/gtest.h>

namespace {

constexpr int8_t kLow = 2;

class RelationResolver : public testing::Test {
protected:
    void Relate(uint32_t event, int led, int8_t state, int8_t priority) { relations_.Add({event, led, state, priority}); }
    led_frame Resolve(bool rotate = false, bool suspend_only = false) {
        return resolver_.Resolve(relations_, events_, catalogue_, led_count_, rotate, suspend_only);
    }
    int8_t StateAfter(bool rotate) { return Resolve(rotate)[0].state; }

    cRelationList relations_;
    cEventCatalogue catalogue_;
    cRelationResolver resolver_;
    uint32_t events_ = event::PowerOn | event::AlwaysOn;
    int led_count_ = 4;
};

}  // namespace

TEST_F(RelationResolver, FirstRotationMovesFromTheLowestEventToTheNext) {
    Relate(event::PowerOn, 0, led_state::On, priority::Normal);
    Relate(event::AlwaysOn, 0, led_state::Blink, priority::Normal);

    EXPECT_EQ(StateAfter(false), led_state::On) << "nothing shown yet: the search starts at bit 0";
    EXPECT_EQ(StateAfter(true), led_state::Blink);
    for (int tick = 1; tick < 8; ++tick) EXPECT_EQ(StateAfter(false), led_state::Blink);
    EXPECT_EQ(StateAfter(true), led_state::On);
    EXPECT_EQ(resolver_.ShownEvent(0), event::PowerOn);
}

TEST_F(RelationResolver, RotationWalksUpwardsWrapsAndSkipsInactiveEvents) {
    events_ = event::PowerOn | event::UserEvent0 | event::UserEvent2 | event::AlwaysOn;
    Relate(event::AlwaysOn, 0, led_state::White, priority::Normal);
    Relate(event::UserEvent2, 0, led_state::Blue, priority::Normal);
    Relate(event::UserEvent1, 0, led_state::Green, priority::Normal);
    Relate(event::UserEvent0, 0, led_state::Red, priority::Normal);

    EXPECT_EQ(StateAfter(true), led_state::Red);
    EXPECT_EQ(StateAfter(true), led_state::Blue) << "User event 1 is not active";
    EXPECT_EQ(StateAfter(true), led_state::White);
    EXPECT_EQ(StateAfter(true), led_state::Red) << "wraps round to the lowest bit";
}

TEST_F(RelationResolver, HigherPriorityTakesOverAtTheNextResolution) {
    Relate(event::PowerOn, 0, led_state::On, priority::Normal);
    Relate(event::Recording1, 0, led_state::BlinkSlow, priority::High);
    EXPECT_EQ(StateAfter(false), led_state::On);

    events_ |= event::Recording1;
    EXPECT_EQ(StateAfter(false), led_state::BlinkSlow) << "no rotation needed";
    EXPECT_EQ(StateAfter(true), led_state::BlinkSlow) << "the only top candidate stays";

    events_ &= ~event::Recording1;
    EXPECT_EQ(StateAfter(false), led_state::On);
}

TEST_F(RelationResolver, LastRelationNamingTheShownEventGivesTheStateWhateverItsPriority) {
    events_ |= event::Recording1;
    Relate(event::Recording1, 0, led_state::Red, priority::Highest);
    Relate(event::Recording1, 0, led_state::Green, priority::Lowest);
    Relate(event::Recording1, 1, led_state::Blue, priority::Lowest);
    led_frame frame = Resolve();
    EXPECT_EQ(frame[0].state, led_state::Green);
    EXPECT_EQ(frame[1].state, led_state::Blue);
}

TEST_F(RelationResolver, PriorityBelowOneNeverMakesACandidate) {
    Relate(event::PowerOn, 0, led_state::On, priority::Undefined);
    Relate(event::AlwaysOn, 0, led_state::On, -3);
    Relate(event::PowerOn, 1, led_state::On, priority::Lowest);
    led_frame frame = Resolve(true);
    EXPECT_TRUE(frame[0].driven);
    EXPECT_EQ(frame[0].state, led_state::Undefined);
    EXPECT_EQ(resolver_.ShownEvent(0), 0u);
    EXPECT_EQ(frame[1].state, led_state::On) << "priority 1 qualifies";
}

TEST_F(RelationResolver, LedsWithoutRelationsAreNotDriven) {
    Relate(event::PowerOn, 1, led_state::On, priority::Normal);
    Relate(event::PowerOn, 4, led_state::On, priority::Normal);
    Relate(event::PowerOn, -1, led_state::On, priority::Normal);
    led_frame frame = Resolve();
    EXPECT_FALSE(frame[0].driven);
    EXPECT_TRUE(frame[1].driven);
    EXPECT_FALSE(frame[2].driven);
    EXPECT_FALSE(frame[3].driven);
}

TEST_F(RelationResolver, ActiveEventWithoutAQualifyingRelationShowsUndefined) {
    Relate(event::AlwaysOn, 0, led_state::On, priority::Undefined);
    Relate(0, 0, led_state::Red, priority::Normal);
    EXPECT_EQ(StateAfter(true), led_state::Undefined) << "a relation naming no event never gives the state";
}

TEST_F(RelationResolver, SuspendResolutionHoldsOnlySuspendEvents) {
    // "Power on" and "Away mode" survive the gathering like the suspend events, yet take no part in a suspend.
    events_ = event::SystemSuspended | event::AlwaysOn | event::UserEvent0 | event::PowerOn | event::AwayMode;
    Relate(event::UserEvent0, 0, led_state::On, priority::Highest);
    Relate(event::SystemSuspended, 0, led_state::Blink, priority::Normal);
    Relate(event::PowerOn, 1, led_state::On, priority::Normal);
    Relate(event::AwayMode, 2, led_state::On, priority::Normal);
    Relate(event::AlwaysOn, 3, led_state::BlinkSlow, priority::Normal);

    led_frame frame = Resolve(false, true);
    EXPECT_EQ(frame[0].state, led_state::Blink);
    EXPECT_TRUE(frame[0].hold);
    for (int led : {1, 2}) {
        EXPECT_TRUE(frame[led].driven) << led;
        EXPECT_EQ(frame[led].state, led_state::Undefined) << led;
        EXPECT_FALSE(frame[led].hold) << led;
    }
    EXPECT_EQ(frame[3].state, led_state::BlinkSlow);
    EXPECT_TRUE(frame[3].hold) << "\"Always on\" is a suspend event too";
}

TEST_F(RelationResolver, ShownEventWithoutCandidatesStaysWhileActive) {
    events_ |= event::UserEvent0;
    Relate(event::UserEvent0, 0, led_state::Red, priority::Normal);
    EXPECT_EQ(StateAfter(false), led_state::Red);

    led_frame frame = Resolve(false, true);  // "User event 0" does not take part in a suspend
    EXPECT_EQ(frame[0].state, led_state::Red);
    EXPECT_FALSE(frame[0].hold);

    events_ &= ~event::UserEvent0;
    EXPECT_EQ(StateAfter(false), led_state::Undefined);
}

TEST_F(RelationResolver, OnlyTheDevicesLedsMoveTheirShownEvent) {
    led_count_ = 1;
    Relate(event::PowerOn, 0, led_state::On, priority::Lowest);
    Relate(event::PowerOn, 2, led_state::On, kLow);
    led_frame frame = Resolve();
    EXPECT_EQ(frame[0].state, led_state::On);
    EXPECT_EQ(resolver_.ShownEvent(2), 0u);
    EXPECT_EQ(frame[2].state, led_state::Undefined);
}
