#pragma once
// Byte offsets of the Zorv layout (product code 0). Offsets are a wire and file format.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zorv::zorvfield {

inline constexpr std::size_t Frequency = 0;

// Valve function n (1..16) has its minimum trim at 2n-1 and its maximum at 2n.
inline constexpr std::size_t TrimMin(int function) { return static_cast<std::size_t>(2 * function - 1); }
inline constexpr std::size_t TrimMax(int function) { return static_cast<std::size_t>(2 * function); }
inline constexpr std::size_t HoistUpMin = 1, HoistUpMax = 2;
inline constexpr std::size_t HoistDownMin = 3, HoistDownMax = 4;
inline constexpr std::size_t PlowUpMin = 5, PlowUpMax = 6;
inline constexpr std::size_t PlowDownMin = 7, PlowDownMax = 8;
inline constexpr std::size_t PlowLeftMin = 9, PlowLeftMax = 10;
inline constexpr std::size_t PlowRightMin = 11, PlowRightMax = 12;
inline constexpr std::size_t WingToeUpMin = 13, WingToeUpMax = 14;
inline constexpr std::size_t WingToeDownMin = 15, WingToeDownMax = 16;
inline constexpr std::size_t WingHeelUpMin = 17, WingHeelUpMax = 18;
inline constexpr std::size_t WingHeelDownMin = 19, WingHeelDownMax = 20;
inline constexpr std::size_t WingSlideInMin = 21, WingSlideInMax = 22;
inline constexpr std::size_t WingSlideOutMin = 23, WingSlideOutMax = 24;
inline constexpr std::size_t BladeUpMin = 25, BladeUpMax = 26;
inline constexpr std::size_t BladeDownMin = 27, BladeDownMax = 28;
inline constexpr std::size_t BladeLeftMin = 29, BladeLeftMax = 30;
inline constexpr std::size_t BladeRightMin = 31, BladeRightMax = 32;

inline constexpr std::size_t JoystickType = 33;
inline constexpr std::size_t NoButtonMode = 34;
inline constexpr std::size_t RedButtonMode = 35;
inline constexpr std::size_t GreenButtonMode = 36;
inline constexpr std::size_t BlueButtonMode = 37;
inline constexpr std::size_t YellowButtonMode = 38;

inline constexpr std::size_t kLabelWidth = 9;  // 8 characters and a NUL
inline constexpr std::size_t RedButtonLabel = 39;
inline constexpr std::size_t GreenButtonLabel = 48;
inline constexpr std::size_t BlueButtonLabel = 57;
inline constexpr std::size_t YellowButtonLabel = 66;
inline constexpr std::size_t OrangeButtonLabel = 75;
inline constexpr std::size_t PurpleButtonLabel = 84;
inline constexpr std::size_t NoButtonLabel = 102;
inline constexpr std::size_t ControllerID = 119;

// Three axis function bytes (X, Y, Z) per button, used in custom mode.
inline constexpr std::size_t NoButtonAxes = 121;
inline constexpr std::size_t RedButtonAxes = 124;
inline constexpr std::size_t GreenButtonAxes = 127;
inline constexpr std::size_t BlueButtonAxes = 130;
inline constexpr std::size_t YellowButtonAxes = 133;
inline constexpr std::size_t ModeButtonsAreTrigger = 137;
inline constexpr std::size_t FloatOneOutput = 138;
inline constexpr std::size_t FloatThreeOutput = 139;
inline constexpr std::size_t FloatTwoOutput = 140;
inline constexpr std::size_t OrangeButtonMode = 141;
inline constexpr std::size_t OrangeButtonAxes = 142;
inline constexpr std::size_t PurpleButtonMode = 145;
inline constexpr std::size_t PurpleButtonAxes = 146;

// Remote pairs: selector then target, for red, green, blue, yellow, orange, purple.
inline constexpr std::size_t RedRemoteSelector = 149, RedTargetID = 150;
inline constexpr std::size_t GreenRemoteSelector = 151, GreenTargetID = 152;
inline constexpr std::size_t BlueRemoteSelector = 153, BlueTargetID = 154;
inline constexpr std::size_t YellowRemoteSelector = 155, YellowTargetID = 156;
inline constexpr std::size_t OrangeRemoteSelector = 157, OrangeTargetID = 158;
inline constexpr std::size_t PurpleRemoteSelector = 159, PurpleTargetID = 160;

inline constexpr std::size_t FloatFourOutput = 161;
inline constexpr std::size_t MultiMode = 162;
inline constexpr std::size_t kFloatNameWidth = 5;  // no terminator; unused positions hold 0
inline constexpr std::size_t FloatOneName = 163;
inline constexpr std::size_t FloatTwoName = 168;
inline constexpr std::size_t FloatThreeName = 173;
inline constexpr std::size_t FloatFourName = 178;
inline constexpr std::size_t SafeStickOff = 183;
inline constexpr std::size_t AlwaysLiveMode = 184;
inline constexpr std::size_t AlwaysLiveLabel = 185;
inline constexpr std::size_t Stick4Function = 194;
inline constexpr std::size_t Stick1Function = 195;
inline constexpr std::size_t Stick2aFunction = 196;
inline constexpr std::size_t Stick2bFunction = 197;
inline constexpr std::size_t Stick3Function = 198;

// Switch group n (1..12).
inline constexpr std::size_t SwitchGroupAddress(int group) { return static_cast<std::size_t>(198 + group); }
inline constexpr std::size_t SwitchGroupPlus(int group) { return static_cast<std::size_t>(210 + group); }
inline constexpr std::size_t SwitchGroupMinus(int group) { return static_cast<std::size_t>(222 + group); }
inline constexpr std::uint8_t kNoSwitch = 200;

inline constexpr std::size_t CartridgeEnable = 235;
inline constexpr std::size_t HoistLimitEnable = 236;
inline constexpr std::size_t FloatDelay = 237;
inline constexpr std::size_t DoubleActingFloat = 238;
inline constexpr std::size_t ScreenToBrevicor = 239;
inline constexpr std::size_t MinFloat = 240;
inline constexpr std::size_t BladeUpTime = 241;
inline constexpr std::size_t StartupDelay = 242;
inline constexpr std::size_t BodyLockEnable = 243;
inline constexpr std::size_t HoistLimitKey = 244;

// Number of image bytes a Zorv v1.0 controller exchanges (offsets 0..120).
inline constexpr std::size_t kV10TransferLength = 121;

}  // namespace zorv::zorvfield

namespace zorv {

inline constexpr int kFunctionCount = 16;

// Output names of the valve functions 1..16 (index 0 is function 1).
inline constexpr std::array<std::string_view, kFunctionCount> kFunctionOutputNames = {
    "A6 - HOIST UP",    "A5 - HOIST DOWN",     "A2 - PLOW UP",       "A1 - PLOW DOWN",
    "A4 - PLOW LEFT",   "A3 - PLOW RIGHT",     "B2 - WING TOE UP",   "B1 - WING TOE DOWN",
    "B4 - WING HEEL UP", "B3 - WING HEEL DOWN", "B6 - WING SLIDE IN", "B5 - WING SLIDE OUT",
    "C2 - BLADE UP",    "C1 - BLADE DOWN",     "C4 - BLADE LEFT",    "C3 - BLADE RIGHT"};

// Button mode codes and the tool's names for them.
namespace mode {
inline constexpr std::uint8_t kInactive = 0, kHoist = 1, kPlow = 2, kWing = 3, kBlade = 4,
                              kSafety = 5, kMode = 6, kOverride = 7, kCustom = 8, kRemote = 9,
                              kSlave = 10, kToggle = 11, kPass = 12;
}  // namespace mode
inline constexpr std::array<std::string_view, 13> kModeNames = {
    "INACTIVE", "HOIST", "PLOW",  "WING",   "BLADE",  "SAFETY", "MODE",
    "OVERRIDE", "CUSTOM", "REMOTE", "SLAVE", "TOGGLE", "PASS"};

// Joystick type codes held in byte 33.
namespace joystick {
inline constexpr std::uint8_t kFourButtonHG = 1, kSixButtonHG = 2, kEightButtonHG = 3,
                              kSlaveMode = 19, kTwoHfxPlowHoist = 21, kTwoHfxPlowHoistWing = 22,
                              kThreeHfxPlowWingHoist = 23, kThreeHfxWingPlowHoist = 24,
                              kTwoHfxPlowHook = 25, kThreeHfxCustom = 26, kSevrik = 27,
                              kFourHfx = 28;
}  // namespace joystick

}  // namespace zorv
