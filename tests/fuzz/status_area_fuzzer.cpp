// Media Center sessions over the sink's slot writer: sessions open, send
// batches of arbitrary tags and values, close, and outlive their sink, which
// is torn down and made again, sometimes without a view. After every step
// the area must be one the program can trust.
#include "sink/fake/memory_areas.h"
#include "sink/session_slot.h"
#include "sink/status_area.h"
#include "tests/fuzz/fuzz_require.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace {

using sink::fake::MemoryAreas;

constexpr std::size_t kMostSessions = 20;  // more than the slots, so the area fills up

// Tags as Media Center sends them, and any 32-bit value at all.
int32_t PickTag(FuzzedDataProvider& input) {
    using namespace msas;
    static constexpr int32_t kKnown[] = {
        MSPROPTAG_Mute,       MSPROPTAG_Play,           MSPROPTAG_Pause,        MSPROPTAG_Recording,
        MSPROPTAG_Error,      MSPROPTAG_Ejecting,       MSPROPTAG_MediaTypes,   MSPROPTAG_TrackTime,
        MSPROPTAG_FS_Home,    MSPROPTAG_FS_Unknown,     MSPROPTAG_CurrentPicture, MSPROPTAG_FS_Radio,
        MSPROPTAG_DiscWriter_Start, MSPROPTAG_DiscWriter_Stop, MSPROPTAG_Application};
    if (input.ConsumeBool()) return input.PickValueInArray(kKnown);
    return input.ConsumeIntegral<int32_t>();
}

bool IsExperience(int32_t tag) {
    using namespace msas;
    return (tag >= MSPROPTAG_FS_Home && tag <= MSPROPTAG_FS_Unknown) || tag == MSPROPTAG_FS_Radio ||
           tag == MSPROPTAG_FS_Extensibility;
}

// What the program may rely on: free slots are all zero, slots in use carry
// only values the writer produces and distinct numbers from this sink's
// count, and nothing past the slots is ever written.
void CheckArea(const MemoryAreas::Bytes& bytes, std::size_t holding, uint32_t acquired) {
    const auto& data = bytes.data;
    FUZZ_REQUIRE(std::all_of(data.begin() + kMediaStatusSlotsSize, data.end(), [](std::byte b) { return b == std::byte{0}; }));
    std::set<uint32_t> numbers;
    for (std::size_t i = 0; i < kMediaStatusSlotCount; ++i) {
        const MediaStatusSlot& slot = sink::fake::SlotOf(bytes, i);
        if (slot.inUse == 0) {
            const MediaStatusSlot zero = {};
            FUZZ_REQUIRE(std::memcmp(&slot, &zero, sizeof slot) == 0);
            continue;
        }
        FUZZ_REQUIRE(slot.inUse == kMediaStatusSlotInUse);
        FUZZ_REQUIRE(slot.sequence >= 1 && slot.sequence <= acquired && numbers.insert(slot.sequence).second);
        for (uint8_t reserved : slot.reserved1) FUZZ_REQUIRE(reserved == 0);
        for (uint8_t reserved : slot.reserved2) FUZZ_REQUIRE(reserved == 0);
        for (uint8_t flag : slot.stateFlags) FUZZ_REQUIRE(flag <= 1);
        FUZZ_REQUIRE(slot.lastState == 0 || (slot.lastState & 0x1000) != 0);
        FUZZ_REQUIRE(slot.experience == 0 || IsExperience(slot.experience));
        FUZZ_REQUIRE(slot.discWriter == 0 || slot.discWriter == msas::MSPROPTAG_DiscWriter_Start ||
                     slot.discWriter == msas::MSPROPTAG_DiscWriter_Stop);
    }
    FUZZ_REQUIRE(numbers.size() == holding);
}

class Host {
public:
    explicit Host(FuzzedDataProvider& input) : input_(input) { MakeSink(); }

    void Step() {
        switch (input_.ConsumeIntegralInRange(0, 7)) {
            case 0:
                if (sessions_.size() < kMostSessions) {
                    sessions_.push_back(SessionSlot::Acquire(share_));
                    if (sessions_.back().Holds()) ++acquired_;
                }
                break;
            case 1:
            case 2: SendBatch(); break;
            case 3:
                if (SessionSlot* session = PickSession()) session->Release();
                break;
            case 4:
                if (!sessions_.empty()) {
                    // A closed session goes away; its slot was freed when it closed.
                    SessionSlot& session = sessions_[input_.ConsumeIntegralInRange<std::size_t>(0, sessions_.size() - 1)];
                    session.Release();
                    std::swap(session, sessions_.back());
                    sessions_.pop_back();
                }
                break;
            case 5: MakeSink(); break;  // the host releases the sink and creates another
            case 6:
                if (sink_) sink_->Teardown();
                break;
            case 7:
                // Indexes past the slots reach the writer only through a fault; they must do nothing.
                if (sink_) {
                    const auto index = kMediaStatusSlotCount + input_.ConsumeIntegral<uint16_t>();
                    sink_->ApplyProperty(index, PickTag(input_), input_.ConsumeIntegral<uint32_t>());
                    sink_->ClearSlot(index);
                }
                break;
        }
        Check();
    }

private:
    SessionSlot* PickSession() {
        if (sessions_.empty()) return nullptr;
        return &sessions_[input_.ConsumeIntegralInRange<std::size_t>(0, sessions_.size() - 1)];
    }

    void SendBatch() {
        SessionSlot* session = PickSession();
        if (!session) return;
        for (int count = input_.ConsumeIntegralInRange(0, 16); count > 0; --count)
            session->Apply(PickTag(input_), input_.ConsumeIntegral<uint32_t>());
    }

    void MakeSink() {
        share_.reset();  // the last share lets the area go
        sink_.reset();
        areas_.FailMapping(input_.ConsumeIntegralInRange(0, 7) == 0);
        sink_ = StatusArea::Make(areas_.NewBacking(), kMediaStatusAreaName, areas_.Milliseconds());
        FUZZ_REQUIRE(sink_ != nullptr);
        share_ = std::make_shared<AreaShare>(sink_);
        acquired_ = 0;
    }

    void Check() {
        const std::size_t holding =
            static_cast<std::size_t>(std::count_if(sessions_.begin(), sessions_.end(), [](const SessionSlot& s) { return s.Holds(); }));
        MemoryAreas::Reader bytes = areas_.Open(kMediaStatusAreaName);
        // A sink without a view (mapping failed, or torn down) keeps no area alive.
        FUZZ_REQUIRE(sink_->HasView() == (bytes != nullptr));
        if (bytes) CheckArea(*bytes, holding, acquired_);
    }

    FuzzedDataProvider& input_;
    MemoryAreas areas_;
    std::shared_ptr<StatusArea> sink_;
    std::shared_ptr<AreaShare> share_;  // the sessions' way to the area, as a sink holds it
    std::vector<SessionSlot> sessions_;
    uint32_t acquired_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Host host(input);
    while (input.remaining_bytes() > 0) host.Step();
    return 0;
}
