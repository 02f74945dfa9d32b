#pragma once

#include <functional>

#include "shell/model/events.h"

namespace kazunavi {

class Application;

// Starting and ending the program: the start-up form, the main window's load
// and unload, and the two exit elements.
class Startup {
  public:
    explicit Startup(Application& app) : app_(app) {}

    void wire(EventTable& events);

    // The program's entry: refuses a second copy, else shows and loads the
    // main window.
    void Form3_Load();
    // Form1's load and unload.
    void Form_Load();
    void Form_Unload();
    void Command6_Click(int index);
    void lblEXIT_Click();

    // Loads the keep list during Form1's load.
    std::function<void()> loadKeepList;

  private:
    void unloadForm1();
    Application& app_;
};

}  // namespace kazunavi
