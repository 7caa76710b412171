#pragma once
// The tray icon as a small front panel: one light per LED of the current
// device, as the device shows the last frame it was given (blink and pulse
// included, on the device's own rhythm), and a tip naming the event that
// wins each lit or blinking LED. The form draws Picture() over the program's
// icon and hands both to the shell when Update reports a change.

#include "engine/led_engine.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

inline constexpr int kTrayLights = 4;

// How a light looks: dark, lit in the one colour of single-colour LEDs, or a full-colour LED's colour.
enum class tray_light : uint8_t { Dark, Lit, Red, Green, Blue, Cyan, Magenta, Yellow, White };

// 0xRRGGBB of a light.
uint32_t LightColour(tray_light light);

struct tray_picture {
    int count = 0;  // lights shown; 0 for the plain icon
    std::array<tray_light, kTrayLights> lights = {};

    bool operator==(const tray_picture&) const = default;
    // One number per distinct picture, for the icons made of it.
    uint32_t Key() const;
};

// Lays picture's lights over the pixels of the program's icon: size x size pixels,
// 0xAARRGGBB with straight alpha, top row first. The lights stand in a dark strip
// along the bottom, each in its own square cell, a third of the icon wide for up to
// three lights and a quarter for four.
void DrawTrayLights(const tray_picture& picture, int size, std::span<uint32_t> pixels);

// One LED of the tip: its name and the name of the event that wins it.
struct tray_tip_line {
    std::string led;
    std::string event;
};
inline constexpr std::size_t kMaxTrayTipLength = 127;
inline constexpr const char* kNoEventTrayTip = "Glimmerbox: no event is shown";
// "Glimmerbox" and a line "LED: event" for each entry, at most kMaxTrayTipLength
// characters: whole lines while they fit, then the first that does not cut and
// ending in "...", the rest left out. Without entries: kNoEventTrayTip.
std::string TrayTip(std::span<const tray_tip_line> lines);

class cTrayPanel {
public:
    // The engine outlives the panel.
    explicit cTrayPanel(cLedEngine& engine) : engine_(engine) {}

    // With lights the picture follows the device and the tip its winning events;
    // without, the picture is the plain icon and the tip the program's name. The
    // next Update builds the tip anew, as the device or its names may have changed.
    void ShowLights(bool shown);
    // Reads the current device's last frame; true when the picture or the tip
    // changed since the last call. Builds the tip only when its content changed.
    bool Update();

    const tray_picture& Picture() const { return picture_; }
    const std::string& Tip() const { return tip_; }

private:
    // What the tip says: per LED the winning event of a lit or blinking LED, 0 for none.
    struct tip_content {
        const cLedDevice* device = nullptr;
        std::array<uint32_t, kTrayLights> events = {};
        bool operator==(const tip_content&) const = default;
    };
    tray_picture ReadPicture() const;
    tip_content ReadTipContent() const;
    std::string BuildTip(const tip_content& content) const;

    cLedEngine& engine_;
    bool shown_ = false;
    bool reread_ = true;
    tray_picture picture_;
    tip_content tip_content_;
    std::string tip_;
};
