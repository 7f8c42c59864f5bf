#pragma once

namespace unfolio {

// The warning as a message box: no owner, caption "Warning", one OK button,
// no icon. The tool waits until it is closed; closing it any way means OK.
class WarningBox
{
public:
    // Shows the box in this process; a QApplication must exist.
    static void Show();

    // True when a window system is named in the environment that a box can
    // be shown on (not Qt's offscreen or minimal platforms, which nobody sees).
    static bool DisplayAvailable();

    // Shows the box from a child process, so that a display that cannot be
    // reached (Qt ends the process then) never ends the tool itself. True
    // when the box was shown and closed.
    static bool ShowInChildProcess();
};

} // namespace unfolio
