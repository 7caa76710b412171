#include "engine/event_catalogue.h"
#include "settings/led_vocabulary.h"

#include <gtest/gtest.h>

namespace {

uint32_t AllEvents() { return (1u << 31) - 1; }

uint32_t MaskWithFlag(uint8_t flag) {
    uint32_t mask = 0;
    for (const event_row& row : cEventCatalogue::Rows())
        if (row.flags & flag) mask |= row.bit;
    return mask;
}

}  // namespace

TEST(EventCatalogue, RowsCoverBitsZeroToThirtyInOrder) {
    cEventCatalogue catalogue;
    ASSERT_EQ(catalogue.count, 31u);
    uint32_t expected_bit = 1;
    for (const event_row& row : cEventCatalogue::Rows()) {
        EXPECT_EQ(row.bit, expected_bit) << row.name;
        expected_bit <<= 1;
    }
}

TEST(EventCatalogue, MasksFollowTheFlags) {
    cEventCatalogue catalogue;
    EXPECT_EQ(catalogue.kept_mask, 0x2780301u);
    EXPECT_EQ(catalogue.suspend_mask, 0x500000u);
    EXPECT_EQ(catalogue.available_mask, AllEvents());
}

TEST(EventCatalogue, NamesAndFlagsOfSingleBits) {
    cEventCatalogue catalogue;
    EXPECT_STREQ(catalogue.NameOf(event::PowerOn), "Power on");
    EXPECT_STREQ(catalogue.NameOf(event::Recording1), "Recording 1 channel");
    EXPECT_STREQ(catalogue.NameOf(event::SystemSuspended), "System suspended (S1/S3/S4)");
    EXPECT_STREQ(catalogue.NameOf(event::McIsRunning), "MC is running");
    EXPECT_STREQ(catalogue.NameOf(event::KodiPlaying), "Kodi playing");
    EXPECT_STREQ(catalogue.NameOf(event::KodiPaused), "Kodi paused");
    EXPECT_STREQ(catalogue.NameOf(event::KodiMuted), "Kodi muted");
    EXPECT_STREQ(catalogue.NameOf(event::KodiIsRunning), "Kodi is running");
    EXPECT_EQ(catalogue.FlagsOf(event::MonitorOn), 0x19);
    EXPECT_EQ(catalogue.FlagsOf(event::ExtenderInUse), 0x21);
}

TEST(EventCatalogue, ValuesThatAreNotOneCatalogueBitAreInvalid) {
    cEventCatalogue catalogue;
    for (uint32_t value : {0u, 0x3u, 0x48000000u, 0x80000000u}) {
        EXPECT_STREQ(catalogue.NameOf(value), "** Invalid **") << value;
        EXPECT_EQ(catalogue.FlagsOf(value), 0) << value;
    }
}

TEST(EventCatalogue, AvailabilityExcludesRowsSharingAFlag) {
    cEventCatalogue catalogue;
    const uint32_t hidden = event::MonitorOn | event::AlwaysOn | event::SystemRequired | event::DisplayRequired;
    const uint32_t media_center = 0xFE | event::ExtenderInUse | event::McPlaying | event::McPaused |
                                  event::McMuted | event::McError | event::McIsRunning;

    catalogue.RecomputeAvailability(0);
    EXPECT_EQ(catalogue.available_mask, AllEvents()) << "hidden events shown: everything";

    catalogue.RecomputeAvailability(event_flag::Hidden);
    EXPECT_EQ(catalogue.available_mask, AllEvents() & ~hidden);

    catalogue.RecomputeAvailability(event_flag::Hidden | event_flag::NeedsMediaCenter);
    EXPECT_EQ(catalogue.available_mask, AllEvents() & ~hidden & ~media_center);
    EXPECT_EQ(media_center, MaskWithFlag(event_flag::NeedsMediaCenter));

    catalogue.RecomputeAvailability(event_flag::Hidden | event_flag::NeedsVista);
    EXPECT_EQ(catalogue.available_mask, AllEvents() & ~hidden) << "the Vista-only event is hidden too";

    EXPECT_TRUE(catalogue.IsAvailable(event::PowerOn | event::MonitorOn));
    EXPECT_FALSE(catalogue.IsAvailable(event::MonitorOn));
}

TEST(Vocabulary, PriorityNames) {
    EXPECT_STREQ(PriorityName(0), "Undefined");
    EXPECT_STREQ(PriorityName(1), "Lowest");
    EXPECT_STREQ(PriorityName(3), "Normal");
    EXPECT_STREQ(PriorityName(5), "Highest");
    EXPECT_STREQ(PriorityName(6), "Invalid");
    EXPECT_STREQ(PriorityName(-1), "Invalid");
}

TEST(Vocabulary, StateNames) {
    EXPECT_STREQ(StateCodeName(0), "Undefined");
    EXPECT_STREQ(StateCodeName(3), "Blink slow");
    EXPECT_STREQ(StateCodeName(13), "Pulse");
    EXPECT_STREQ(StateCodeName(14), "Invalid");
    EXPECT_STREQ(StateCodeName(-1), "Invalid");
}

TEST(Vocabulary, GenericLedNames) {
    EXPECT_STREQ(GenericLedName(0, 3), "LED 1");
    EXPECT_STREQ(GenericLedName(2, 3), "LED 3");
    EXPECT_STREQ(GenericLedName(3, 3), "Invalid for this device");
    EXPECT_STREQ(GenericLedName(3, 4), "LED 4");
    EXPECT_STREQ(GenericLedName(-1, 3), "Unknown LED");
    EXPECT_STREQ(GenericLedName(5, 8), "Unknown LED");
}
