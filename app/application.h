#pragma once

// CApplication: the program's entry. Run performs start-up in order (product message, single
// instance, the settings key, program and skin folders, "res.xml", control classes, registered messages, the
// main window centred), runs the loop, and tears down in the reverse order. A second copy raises the first
// through the single-instance socket and returns 0 without a window. Command-line arguments are ignored.
// Returns 0 on every path.
//
// Thread: the main thread; a QApplication must exist.

namespace app {

class CApplication {
public:
    int Run();
};

}  // namespace app
