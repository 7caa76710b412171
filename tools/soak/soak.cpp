// Months of an HTPC's life in memory: the LED engine with its sensors and a
// full-colour module on COM1 under level control (every day two hours on a
// USB light instead, unplugged and plugged in again), the sink's slot writer
// feeding the program's reader, and a seeded random schedule of recordings,
// playback, extenders, remote sessions, user events, suspends, device
// refreshes, calibration edits with their previews and relation edits. The
// clock starts so that the run crosses the wrap of the millisecond tick count
// halfway. Every tick and every day is checked; the first broken rule ends
// the run with exit code 1.
//
//     soak [--days N] [--seed S]      (60 days and seed 1 by default)
#define GLIMMER_COUNT_ALLOCATIONS
#include "tests/unit/allocation_counter.h"

#include "app/calibration_editor.h"
#include "app/main_timers.h"
#include "platform/fake/fake_window_timers.h"
#include "settings/led_vocabulary.h"
#include "sink/session_slot.h"
#include "sink/status_area.h"
#include "tests/unit/fake_machine.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kTickMs = main_timer::Timer1IntervalMs;
constexpr int kTicksPerSecond = 1000 / kTickMs;
constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr const char* kDevice = "COM1";
constexpr const char* kLight = "\\\\?\\hid#vid_27b8&pid_01ed#soak";
const platform::HidIdentity kBlink1 = {0x27B8, 0x01ED, 2, 0, 9};
// The light's two hours of each day: in use, unplugged, plugged in again, given up.
constexpr int kLightFrom = 10 * 60 * 60, kUnplugAt = kLightFrom + 3600, kReplugAt = kUnplugAt + 600;
constexpr int kLightUntil = kLightFrom + 2 * 3600;
constexpr uint32_t kLightLossMs = 5000 + 2 * kTickMs;  // the repair write finds it gone
// Every device the engine shows a relation list for, by ID and hardware ID.
constexpr std::pair<const char*, uint16_t> kListedDevices[] = {{kDevice, 0x1008}, {kLight, 0x3655}, {"Keyboard", 0x2003}};
constexpr int32_t kLevelPeriodMs = 20;  // the serial devices' level-control period

[[noreturn]] void Fail(uint32_t now, const char* rule) {
    std::fprintf(stderr, "soak: at tick count %u: %s\n", static_cast<unsigned>(now), rule);
    std::exit(1);
}

// The sink's backing over the program's fake reader: the writer and the
// reader share one named area, as the two processes do on Windows.
class ReaderBacking final : public SharedAreaBacking {
public:
    explicit ReaderBacking(platform::fake::FakeSharedAreaReader& areas) : areas_(areas) {}
    ~ReaderBacking() override { Unmap(); }

    std::byte* Map(const char* name) override {
        Unmap();
        name_ = name;
        return reinterpret_cast<std::byte*>(areas_.Create(name_).data());
    }
    void Unmap() override {
        if (!name_.empty()) areas_.Release(name_);
        name_.clear();
    }

private:
    platform::fake::FakeSharedAreaReader& areas_;
    std::string name_;
};

struct Figures {
    uint64_t ticks = 0;
    uint64_t line_writes = 0;
    uint64_t light_reports = 0;
    uint64_t unplugs = 0;
    uint64_t recordings = 0;
    uint64_t previews = 0;
    uint64_t relation_saves = 0;
    uint64_t suspends = 0;
    uint64_t refreshes = 0;
    uint64_t session_changes = 0;
    uint64_t sink_restarts = 0;
};

class Soak : FakeMachine {
public:
    Soak(uint32_t seed, uint32_t start) : random_(seed), start_(Prepare(start)) {
        window_timers_.SetHandler([this](uint32_t id) {
            if (id == main_timer::Timer2) editor_.Timer2Timer();
        });
        session_window_ = engine_.get();
        engine_->Devices().Refresh(nullptr, false);
        // LED 0 is white whenever no preview shows: nothing the edits add outranks it.
        for (const char* id : {kLight, kDevice}) {
            engine_->OpenDevice(id);
            if (engine_->CurrentDevice().Id() != id) Fail(clock.TickCount(), "a device did not open");
            engine_->CurrentDevice().SetLevelControl(true);
            engine_->Relations().Clear();
            engine_->Relations().Add({event::AlwaysOn, 0, led_state::White, priority::Highest});
            engine_->Relations().Add({event::Recording1, 0, led_state::Red, priority::High});
            SaveRelations();
        }
        base_relations_ = Snapshot(engine_->Relations());
        StoreBaseRelations();
        MakeSink();
    }

    // One simulated day; returns the live allocations at its quiet end.
    std::size_t RunDay() {
        for (int second = 0; second < kSecondsPerDay; ++second) {
            if (asleep_until_ && static_cast<int32_t>(clock.TickCount() - *asleep_until_) >= 0) Wake();
            FollowTheLightsDay(second);
            if (!asleep_until_) Act();
            for (int i = 0; i < kTicksPerSecond; ++i) Tick();
        }
        Quieten();
        return LiveAllocations();
    }

    const Figures& figures() const { return figures_; }
    uint32_t Now() const { return clock.TickCount(); }

private:
    using Relations = std::vector<led_relation>;

    // The machine as the engine finds it when it starts.
    uint32_t Prepare(uint32_t start) {
        clock.Set(start);
        ports.AddPort(1, {.dtr = platform::kMsRlsdOn});  // a full-colour module, common cathode
        hid.Plug(kLight, kBlink1, "20000001");
        sessions.SetWindowProcedure([this](const platform::fake::FakeSessions::SentMessage& message) {
            if (session_window_) session_window_->OnSessionChange({message.code, message.session_id});
        });
        return start;
    }

    static Relations Snapshot(const cRelationList& list) {
        Relations relations;
        for (const auto& relation : list) relations.push_back(*relation);
        return relations;
    }

    int Roll(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }

    // What happens in one second, most seconds nothing.
    void Act() {
        switch (Roll(240)) {
            case 0: case 1: SetRecordings(Roll(10)); break;
            case 2: case 3: case 4: Play(); break;
            case 5: ChangeRemoteSessions(); break;
            case 6: SetUserEventElsewhere(); break;
            case 7: if (Roll(8) == 0) Suspend(); break;
            case 8: if (Roll(4) == 0) RefreshDevices(); break;
            case 9: case 10: EditCalibration(); break;
            case 11: EditRelations(); break;
            case 12: if (Roll(50) == 0) RestartSink(); break;
            case 13: power.last_input_time = clock.TickCount(); break;
            default: break;
        }
    }

    // The sink's sessions: recorders, each recording one channel, and one player.
    void SetRecordings(int channels) {
        while (recorders_.size() > static_cast<std::size_t>(channels)) {
            recorders_.back().Release();
            recorders_.pop_back();
        }
        while (recorders_.size() < static_cast<std::size_t>(channels)) {
            recorders_.push_back(OpenSession());
            recorders_.back().Apply(msas::MSPROPTAG_FS_TV, 1);
            recorders_.back().Apply(msas::MSPROPTAG_Recording, 1);
            ++figures_.recordings;
        }
    }

    void Play() {
        if (!player_.Holds()) {
            player_ = OpenSession();
            player_state_ = 0;
        }
        static constexpr int32_t kTags[] = {msas::MSPROPTAG_Play, msas::MSPROPTAG_Pause, msas::MSPROPTAG_Mute,
                                            msas::MSPROPTAG_Stop, msas::MSPROPTAG_Error};
        const int32_t tag = kTags[Roll(5)];
        const bool on = Roll(4) != 0;
        player_.Apply(msas::MSPROPTAG_TrackTime, static_cast<uint32_t>(Roll(7200)));
        player_.Apply(tag, on ? 1 : 0);
        player_state_ = on ? tag : 0;
        if (Roll(10) == 0) {
            player_.Release();
            player_state_ = 0;
        }
    }

    SessionSlot OpenSession() {
        SessionSlot slot = SessionSlot::Acquire(sink_);
        if (!slot.Holds()) Fail(clock.TickCount(), "the sink had no slot for a session");
        ++acquired_;
        return slot;
    }

    void MakeSink() {
        sink_ = AreaShare::Join([this] {
            return StatusArea::Make(std::make_unique<ReaderBacking>(areas), kMediaStatusAreaName,
                                    [this] { return clock.TickCount(); });
        });
    }

    // Media Center's status host lets go of the sink and makes a new one, which numbers from 1 again.
    void RestartSink() {
        SetRecordings(0);
        player_.Release();
        player_state_ = 0;
        sink_.reset();
        MakeSink();
        acquired_ = 0;
        ++figures_.sink_restarts;
    }

    void ChangeRemoteSessions() {
        if (!remote_sessions_.empty() && Roll(2) == 0) {
            const uint32_t id = remote_sessions_.back();
            remote_sessions_.pop_back();
            sessions.Remove(id);
            sessions.SendSessionChange(window(), platform::kWtsRemoteDisconnect, id);
        } else if (remote_sessions_.size() < 4) {
            const uint32_t id = next_session_id_++;
            const bool extender = Roll(2) == 0;
            sessions.Add({.id = id, .protocol_type = platform::kWtsProtocolTypeRdp,
                          .user_name = extender ? "Mcx1-LIVINGROOM" : "alice"});
            remote_sessions_.push_back(id);
            sessions.SendSessionChange(window(), platform::kWtsRemoteConnect, id);
        }
        ++figures_.session_changes;
        bool extender = false, remote = false;
        for (uint32_t id : remote_sessions_)
            (sessions.Find(id)->user_name.starts_with("Mcx") ? extender : remote) = true;
        const uint32_t events = engine_->Events();
        if (((events & event::ExtenderInUse) != 0) != extender || ((events & event::RemoteDesktopSession) != 0) != remote)
            Fail(clock.TickCount(), "extender and remote session events do not follow the sessions");
    }

    // Another instance of the program, started with USEREVENTx=y.
    void SetUserEventElsewhere() {
        const int index = Roll(3);
        const bool on = Roll(2) == 0;
        registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey)
            ->WriteDword("UserEvent" + std::to_string(index), on ? 1 : 0);
        user_events_ = on ? user_events_ | event::UserEvent0 << index : user_events_ & ~(event::UserEvent0 << index);
    }

    void Suspend() {
        editor_.SavePending();
        engine_->OnPowerEvent({platform::kPbtApmSuspend});
        asleep_until_ = clock.TickCount() + static_cast<uint32_t>(60 + Roll(90 * 60)) * 1000;
        ++figures_.suspends;
        CheckNoLevelControlTimers("level control ran on while the system slept");
    }

    void Wake() {
        power.resume_automatic = Roll(2) == 0;
        engine_->OnPowerEvent({platform::kPbtApmResumeAutomatic});
        asleep_until_.reset();
    }

    void RefreshDevices() {
        editor_.SavePending();
        engine_->FallBack();
        CheckNoLevelControlTimers("a level-control timer outlived its device");
        engine_->Devices().Refresh(nullptr, false);
        engine_->OpenDevice(chosen_);
        if (engine_->CurrentDevice().Id() == chosen_ && Snapshot(engine_->Relations()) != saved_relations_[chosen_])
            Fail(clock.TickCount(), "the relations loaded are not the relations saved");
        ++figures_.refreshes;
    }

    // The Calibration tab: a colour chosen, a bar moved, previewed on LED 0 for 5 s.
    void EditCalibration() {
        editor_.Fill();
        // The fallback keyboard, current while the light is gone, has no levels.
        if (!engine_->CurrentDevice().LevelControlSupported()) return;
        if (!editor_.View().tab_shown) Fail(clock.TickCount(), "level control was off");
        editor_.ChooseColour(Roll(static_cast<int>(editor_.View().colours.items.size())));
        // Mostly full or dark, so that stretches without a dimmed line (and so without a timer) recur all run long.
        editor_.MoveBar(Roll(3), Roll(3) == 0 ? Roll(101) : 100 * Roll(2));
        preview_start_ = clock.TickCount();
        preview_colour_ = editor_.CalibrationColour();
        ++figures_.previews;
    }

    // Relations added, changed and removed, then saved. None of them takes LED 0's white away.
    void EditRelations() {
        cRelationList& relations = engine_->Relations();
        const int what = Roll(3);
        if (what == 0 && relations.size() > base_relations_.size()) {
            relations.Remove(base_relations_.size() + static_cast<std::size_t>(Roll(static_cast<int>(relations.size() - base_relations_.size()))));
        } else {
            led_relation relation;
            relation.led = Roll(4);
            // The last relation of LED 0's shown event gives its state: edits leave its white alone.
            do relation.event = 1u << Roll(27);
            while (relation.led == 0 && relation.event == event::AlwaysOn);
            relation.state = static_cast<int8_t>(1 + Roll(13));
            relation.priority = static_cast<int8_t>(1 + Roll(relation.led == 0 ? 4 : 5));
            if (what == 1 && relations.size() > base_relations_.size())
                relations[relations.size() - 1] = relation;
            else if (relations.size() < 40)
                relations.Add(relation);
        }
        SaveRelations();
    }

    void SaveRelations() {
        if (!engine_->SaveRelations()) Fail(clock.TickCount(), "saving the relations failed");
        saved_relations_[engine_->CurrentDevice().Id()] = Snapshot(engine_->Relations());
        cRelationList loaded;
        loaded.Load(registry, static_cast<uint16_t>(engine_->CurrentDevice().HardwareId()), engine_->Catalogue());
        if (Snapshot(loaded) != saved_relations_[engine_->CurrentDevice().Id()]) Fail(clock.TickCount(), "the relations loaded are not the relations saved");
        ++figures_.relation_saves;
    }

    void Tick() {
        clock.Advance(kTickMs);  // level-control periods and the save delay run on the way
        if (asleep_until_) {
            CheckNoLevelControlTimers("level control ran on while the system slept");
            return;
        }
        const bool gathers = ticks_ % kTicksPerSecond == 0;
        engine_->Tick();
        ++ticks_;
        ++figures_.ticks;
        CheckFrame();
        if (gathers) CheckGathered();
        timers.ForgetCreated();
    }

    // Every frame lights only LEDs the device has, and reaches only its three lines.
    void CheckFrame() {
        const cLedDevice& device = engine_->CurrentDevice();
        uint32_t lines = 0;
        for (int i = 0; i < device.LedCount(); ++i) lines |= device.GetLed(i)->line_mask;
        if ((device.LitBits() & ~device.DrivenBits()) != 0 || (device.DrivenBits() & ~lines) != 0)
            Fail(clock.TickCount(), "a frame lit an LED the device does not have");
        CheckLight();
        if (device.Id() != kDevice) return;
        bool dimmed = false;
        for (int bit = 0; bit < kOutputBits; ++bit) {
            if (device.OnTime(bit) < 0 || device.OnTime(bit) > kLevelPeriodMs) Fail(clock.TickCount(), "an on-time outside the period");
            dimmed = dimmed || (device.OnTime(bit) > 0 && device.OnTime(bit) < kLevelPeriodMs);
        }
        // The millisecond timer keeps the machine awake: only a dimmed line may need it.
        if (!dimmed && timers.Running() != 0) Fail(clock.TickCount(), "a level-control timer ran while no line was dimmed");
        auto& writes = ports.port(1).writes;
        for (const auto& write : writes) {
            using enum platform::CommFunction;
            if (write.function != SetDtr && write.function != ClrDtr && write.function != SetRts &&
                write.function != ClrRts && write.function != SetBreak && write.function != ClrBreak)
                Fail(clock.TickCount(), "a line write that is no line");
        }
        figures_.line_writes += writes.size();
        writes.clear();
        CheckPreview(*device.GetLed(0), device.LitBits());
    }

    // The light's day: chosen at kLightFrom, unplugged, plugged in again and found by
    // a refresh, and COM1 chosen again at kLightUntil.
    void FollowTheLightsDay(int second) {
        const bool step = second == kLightFrom || second == kLightUntil || second == kUnplugAt || second == kReplugAt;
        if (step && asleep_until_) Wake();
        if (second == kLightFrom || second == kLightUntil) {
            chosen_ = second == kLightFrom ? kLight : kDevice;
            RefreshDevices();
            if (engine_->CurrentDevice().Id() != chosen_) Fail(clock.TickCount(), "the chosen device did not open");
        } else if (second == kUnplugAt) {
            hid.Unplug(kLight);
            unplugged_at_ = clock.TickCount();
            boxes_before_ = message_boxes.shown.size();
            ++figures_.unplugs;
        } else if (second == kReplugAt) {
            hid.Plug(kLight, kBlink1, "20000001");
            RefreshDevices();
            if (engine_->CurrentDevice().Id() != kLight) Fail(clock.TickCount(), "the light was not found again");
        }
    }

    // An unplugged light gives way to the fallback keyboard by its next write, with one box
    // (none when a refresh came first).
    void CheckLight() {
        auto& reports = hid.At(kLight).reports;
        figures_.light_reports += reports.size();
        reports.clear();
        if (!unplugged_at_ || asleep_until_) return;
        const bool fell_back = engine_->CurrentDevice().Id() != kLight;
        if (fell_back && message_boxes.shown.size() > boxes_before_ + 1)
            Fail(clock.TickCount(), "an unplugged light was not reported exactly once");
        if (fell_back) unplugged_at_.reset();
        else if (clock.TickCount() - *unplugged_at_ > kLightLossMs) Fail(clock.TickCount(), "an unplugged light stayed current");
    }

    // A preview shows its colour for 5 s; from the next resolution on, LED 0 is white again.
    void CheckPreview(const led_descriptor& led, uint32_t lit) {
        auto lines_of = [&](int8_t state) {
            for (int j = 0; j < led.state_count; ++j)
                if (led.states[j] == state) return static_cast<uint32_t>(led.state_lines[j]);
            return 0u;
        };
        const uint32_t elapsed = preview_start_ ? clock.TickCount() - *preview_start_ : 0xFFFFFFFF;
        if (elapsed < cCalibrationEditor::kPreviewMs) {
            if (lit != lines_of(preview_colour_)) Fail(clock.TickCount(), "a preview ended early");
        } else if (elapsed >= cCalibrationEditor::kPreviewMs + 2 * kTickMs) {
            if (lit != lines_of(led_state::White)) Fail(clock.TickCount(), "a preview outlived its 5 s");
            preview_start_.reset();
        }
    }

    // A gathering reads the sink's slots and the other instance's user events.
    void CheckGathered() {
        const uint32_t events = engine_->Events();
        const int channels = std::min(static_cast<int>(recorders_.size()), 6);
        if ((events & (0x7Fu << 1)) != event::Recording0 << channels)
            Fail(clock.TickCount(), "the recording event does not count the recordings");
        if ((events & (event::UserEvent0 | event::UserEvent1 | event::UserEvent2)) != user_events_)
            Fail(clock.TickCount(), "the user events are not those set elsewhere");
        const bool playing = player_state_ == msas::MSPROPTAG_Play;
        if (((events & event::McPlaying) != 0) != playing ||
            ((events & event::McPaused) != 0) != (player_state_ == msas::MSPROPTAG_Pause) ||
            ((events & event::McMuted) != 0) != (player_state_ == msas::MSPROPTAG_Mute) ||
            ((events & event::McError) != 0) != (player_state_ == msas::MSPROPTAG_Error))
            Fail(clock.TickCount(), "the Media Center events do not follow the player");
    }

    void CheckNoLevelControlTimers(const char* rule) {
        if (timers.Running() != 0)
            Fail(clock.TickCount(), rule);
    }

    // The end of a day: sessions closed, pending saves done, the relations of the first day.
    void Quieten() {
        if (asleep_until_) Wake();
        SetRecordings(0);
        player_.Release();
        player_state_ = 0;
        while (!remote_sessions_.empty()) {
            sessions.Remove(remote_sessions_.back());
            sessions.SendSessionChange(window(), platform::kWtsRemoteDisconnect, remote_sessions_.back());
            remote_sessions_.pop_back();
        }
        editor_.SavePending();
        engine_->Relations().Clear();
        for (const led_relation& relation : base_relations_) engine_->Relations().Add(relation);
        SaveRelations();
        StoreBaseRelations();
        message_boxes.shown.clear();
        boxes_before_ = 0;
        for (int i = 0; i < kTicksPerSecond; ++i) Tick();
    }

    // Every device's stored list as on the first day, so that a day ends with the registry it began with.
    void StoreBaseRelations() {
        cRelationList base;
        for (const led_relation& relation : base_relations_) base.Add(relation);
        for (const auto& [id, hardware_id] : kListedDevices) {
            if (!base.Save(registry, hardware_id)) Fail(clock.TickCount(), "saving the relations failed");
            saved_relations_[id] = base_relations_;
        }
    }

    static platform::WindowHandle window() { return reinterpret_cast<platform::WindowHandle>(0x1234); }

    std::mt19937 random_;
    uint32_t start_;
    Figures figures_;
    cLedEngine* session_window_ = nullptr;  // the engine once made: the window's session changes go there
    cWindowsVersion version_{version_info, metrics, registry};
    std::unique_ptr<cLedEngine> engine_ = std::make_unique<cLedEngine>(services, window(), version_);
    platform::fake::FakeWindowTimers window_timers_{clock};
    cCalibrationEditor editor_{*engine_, window_timers_};

    std::shared_ptr<AreaShare> sink_;
    uint32_t acquired_ = 0;  // the sink's last slot number
    std::vector<SessionSlot> recorders_;
    SessionSlot player_;
    int32_t player_state_ = 0;

    std::vector<uint32_t> remote_sessions_;
    uint32_t next_session_id_ = 2;
    uint32_t user_events_ = 0;
    std::optional<uint32_t> asleep_until_;
    std::optional<uint32_t> preview_start_;
    int8_t preview_colour_ = 0;
    Relations base_relations_;
    std::map<std::string, Relations> saved_relations_;  // per device ID
    std::string chosen_ = kDevice;                      // the device that "DeviceID" names
    std::optional<uint32_t> unplugged_at_;              // the light is unplugged and still current
    std::size_t boxes_before_ = 0;
    uint64_t ticks_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    int days = 60;
    uint32_t seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--days") == 0) days = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--seed") == 0) seed = static_cast<uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
    }
    if (days < 1 || days > 99) {
        std::fprintf(stderr, "usage: soak [--days 1..99] [--seed S]\n");
        return 2;
    }
    // Half the run before the tick count wraps, half after.
    const uint32_t start = 0u - static_cast<uint32_t>(days) * (kSecondsPerDay / 2) * 1000u;
    const auto began = std::chrono::steady_clock::now();
    Soak soak(seed, start);
    std::size_t baseline = 0;
    for (int day = 1; day <= days; ++day) {
        // Recordings included: what a day allocates, it frees again by its quiet end.
        const std::size_t live = soak.RunDay();
        if (day == 1) {
            baseline = live;
        } else if (live != baseline) {
            std::fprintf(stderr, "soak: day %d: %zu live allocations, baseline %zu\n", day, live, baseline);
            return 1;
        }
        std::printf("day %2d: tick count %10u, %zu live allocations\n", day, soak.Now(), live);
        std::fflush(stdout);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    const Figures& f = soak.figures();
    std::printf("%d days in %.1f s: %llu ticks, %llu line writes, %llu light reports, %llu unplugs, %llu recordings, %llu previews, %llu relation saves, "
                "%llu suspends, %llu device refreshes, %llu session changes, %llu sink restarts\n",
                days, seconds, static_cast<unsigned long long>(f.ticks), static_cast<unsigned long long>(f.line_writes),
                static_cast<unsigned long long>(f.light_reports), static_cast<unsigned long long>(f.unplugs),
                static_cast<unsigned long long>(f.recordings), static_cast<unsigned long long>(f.previews),
                static_cast<unsigned long long>(f.relation_saves), static_cast<unsigned long long>(f.suspends),
                static_cast<unsigned long long>(f.refreshes), static_cast<unsigned long long>(f.session_changes),
                static_cast<unsigned long long>(f.sink_restarts));
    return 0;
}
