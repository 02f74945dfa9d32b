#pragma once

// The named colours of the two windows, as colour values (red in the low
// byte). Each is written here once; the inventory, the features and the
// views take them from here.

#include "platform/colour.h"

namespace kazunavi::palette {

constexpr Colour kBlack = 0x000000;
constexpr Colour kRed = 0x0000FF;         // a lit lamp, a switch that is on
constexpr Colour kDarkRed = 0x000080;     // the lamp while another program is in front
constexpr Colour kDimRed = 0x000070;      // a switch that is off
constexpr Colour kGreen = 0x008000;       // hover, a held text, a released "UP"/"DWN"
constexpr Colour kLightGreen = 0x00CC00;  // a pressed "UP"/"DWN"
constexpr Colour kBlue = 0xFF0000;        // the caret keys at rest, HELP under the mouse
constexpr Colour kCyan = 0xFFFF00;        // a pressed caret key
constexpr Colour kYellow = 0x00FFFF;      // the browse lamp while the browser is sent
constexpr Colour kGrey = 0x808080;
constexpr Colour kSilver = 0xC0C0C0;  // separators
constexpr Colour kSlate = 0x2B485B;   // the captions
constexpr Colour kField = 0xB3D7DF;   // text boxes and lists
constexpr Colour kFieldText = 0x404B57;
constexpr Colour kButtonFace = 0xA3CDD8;
constexpr Colour kQuiet = 0x667B7D;  // quieter captions
constexpr Colour kPanelCaption = 0xFF8080;

}  // namespace kazunavi::palette
