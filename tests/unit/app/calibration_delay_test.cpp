#include "tests/unit/app/app_fixture.h"

namespace {

// A program on three plain LEDs with level control on and no relations, so
// that only a calibration preview lights an LED.
class CalibrationDelay : public AppFixture {
protected:
    static constexpr const char* kHardwareKey = "\\Software\\Quillmoor\\Glimmerbox\\1000";
    static constexpr const char* kCalibrationKey = "\\Software\\Quillmoor\\Glimmerbox\\1000\\Calibration";

    void SetUp() override {
        StartWithThreeLeds();
        model->CheckBox3Click(true);  // switching stores the calibration once
        Relate({});
        start = clock.TickCount();
    }
    std::optional<uint32_t> StoredLevel(int led) { return StoredDword(kCalibrationKey, "LED" + std::to_string(led) + "-Calibration"); }
    // Overwrites the stored level, so that a later save shows.
    void Scribble(int led) {
        registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, kCalibrationKey)
            ->WriteDword("LED" + std::to_string(led) + "-Calibration", 77);
    }
    void AdvanceTo(uint32_t since_start) { clock.Advance(since_start - (clock.TickCount() - start)); }

    uint32_t start = 0;
};

TEST_F(CalibrationDelay, BarMovesWithin3sSaveOnce3sAfterTheLastAndEachPreviews5s) {
    model->TrackBar2Change(10);
    AdvanceTo(1000);
    model->TrackBar2Change(20);
    AdvanceTo(2000);
    model->TrackBar2Change(30);
    EXPECT_EQ(Current().GetLed(0)->level, 30);  // in the device at once
    EXPECT_EQ(Calibration().bars[1].label, "30%");

    AdvanceTo(4999);
    EXPECT_EQ(StoredLevel(0), 100u);
    EXPECT_TRUE(Current().LitBits() & 0x1);  // the first preview is over; the last one lasts
    AdvanceTo(5000);
    EXPECT_EQ(StoredLevel(0), 30u);
    EXPECT_FALSE(timers.IsRunning(main_timer::Timer2));

    AdvanceTo(6875);
    EXPECT_TRUE(Current().LitBits() & 0x1);
    AdvanceTo(7250);
    EXPECT_EQ(Current().LitBits(), 0u);

    Scribble(0);
    AdvanceTo(20000);
    EXPECT_EQ(StoredLevel(0), 77u);  // one save for the whole run
}

TEST_F(CalibrationDelay, ChoosingAnotherLedPreviewsItWithoutRestartingTheDelay) {
    model->TrackBar2Change(30);
    AdvanceTo(2000);
    model->ComboBox3Change(1);
    AdvanceTo(2125);
    EXPECT_EQ(Current().LitBits() & 0x3, 0x3u);  // both previews show
    AdvanceTo(3000);
    EXPECT_EQ(StoredLevel(0), 30u);
    AdvanceTo(5250);
    EXPECT_EQ(Current().LitBits(), 0x2u);  // LED 2's preview lasts 5 s from its choice
}

TEST_F(CalibrationDelay, ExitWithin3sSavesAtOnce) {
    model->MenuConfigureClick();
    model->TrackBar2Change(30);
    AdvanceTo(1000);
    model->MenuExitClick();
    ASSERT_TRUE(model->FormCloseQuery());
    model->FormClose();
    EXPECT_EQ(StoredLevel(0), 30u);
    EXPECT_FALSE(timers.IsRunning(main_timer::Timer2));

    Scribble(0);
    AdvanceTo(10000);
    EXPECT_EQ(StoredLevel(0), 77u);
}

TEST_F(CalibrationDelay, ChoosingAnotherDeviceSavesTheEditsOfTheOneLeft) {
    ports.AddPort(2);
    model->ButtonRefreshDevicesClick();
    ASSERT_EQ(View().devices.items.size(), 2u);
    model->CheckBox3Click(true);
    model->TrackBar2Change(30);
    model->ComboBox1Change(1);  // COM2, a module of the same kind
    EXPECT_EQ(StoredLevel(0), 30u);
    EXPECT_FALSE(timers.IsRunning(main_timer::Timer2));
}

}  // namespace
