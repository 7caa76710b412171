// The Kodi sensor over a peer that sends arbitrary bytes. The first byte picks
// a chunk size; the rest is the stream, read once whole and once cut into
// chunks of that size. Both readings must end in the same state, the state
// must make sense after every tick, and a closed stream must leave nothing.
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_power.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_stream_sockets.h"
#include "sensors/kodi_sensor.h"
#include "tests/fuzz/fuzz_require.h"

#include <algorithm>
#include <string_view>

namespace {

void CheckSensible(const cKodiSensor& kodi) {
    const kodi_state& state = kodi.State();
    FUZZ_REQUIRE(!(state.playing && state.paused) && state.recordings >= 0);
    if (!state.running) FUZZ_REQUIRE(!state.playing && !state.paused && !state.muted && state.recordings == 0);
}

kodi_state Follow(std::string_view stream, std::size_t chunk) {
    platform::fake::FakeClock clock{0xFFFFF000};  // the tick count wraps on the way
    platform::fake::FakeRegistry registry;
    platform::fake::FakeWindowFinder windows;
    platform::fake::FakeStreamSockets sockets;
    sockets.AnswerConnects(platform::fake::FakeStreamSockets::Answer::Accept);
    cKodiSensor kodi(sockets, windows, registry, clock);
    kodi.Tick();
    platform::fake::FakeStreamPeer& peer = *sockets.LastPeer();
    // A dropped stream stays dropped: the tries after it find no socket.
    sockets.AnswerConnects(platform::fake::FakeStreamSockets::Answer::NoSocket);
    // One Receive hands out at most one chunk; a tick reads up to 32 of them.
    for (std::size_t at = 0; at < stream.size(); at += chunk) peer.Deliver(stream.substr(at, chunk));
    for (std::size_t tick = 0; tick <= stream.size() / chunk / 32 + stream.size() / 4096; ++tick) {
        clock.Advance(125);
        kodi.Tick();
        CheckSensible(kodi);
    }
    const kodi_state read = kodi.State();
    peer.Close();
    kodi.Tick();
    CheckSensible(kodi);
    FUZZ_REQUIRE(!kodi.State().running && kodi.Status() == kodi_status::NotRunning && !peer.Held());
    return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t chunk = data[0] % 64 + 1;
    const std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
    const kodi_state whole = Follow(stream, std::max<std::size_t>(stream.size(), 1));
    const kodi_state cut = Follow(stream, chunk);
    FUZZ_REQUIRE(whole.running == cut.running && whole.playing == cut.playing && whole.paused == cut.paused);
    FUZZ_REQUIRE(whole.muted == cut.muted && whole.recordings == cut.recordings && whole.version == cut.version);
    return 0;
}
