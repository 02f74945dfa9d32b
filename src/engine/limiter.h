#pragma once

namespace kazunavi {

class Form1;

// Shows the limiter state on "ON"/"OFF" and the bound boxes without switching it.
void refreshLimiterDisplay(Form1& f);

// Switches the limiter on or off, with its caption, colour and bound boxes.
void switchLimiter(Form1& f);

}  // namespace kazunavi
