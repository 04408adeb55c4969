#pragma once

#include "host/shared_state.h"

class FileDialogService;
class FileOpenService;
class MessageService;
class QWidget;

// What a window knows of the program: the shared state, the message service and the opening of
// a further command window. The main window implements it; tests give a window a fake host.
class WindowHost {
public:
    virtual SharedState& state() = 0;
    MessageService& messages() { return *state().messages; }
    FileOpenService& fileOpener() { return *state().fileOpener; }
    FileDialogService& fileDialogs() { return *state().fileDialogs; }

    // The window discipline: the host is disabled and `window` opens as a parentless top-level
    // window centred on it; when it is closed it is deleted and the host is enabled again.
    virtual void openCommandWindow(QWidget* window) = 0;

    // A viewer opens as a child window of the host's MDI area, centred on it, sized as the
    // viewer's own size, minimum and maximum say; it is deleted when it is closed. Several
    // viewers may be open side by side.
    virtual void openViewer(QWidget* viewer) = 0;

protected:
    WindowHost() = default;
    ~WindowHost() = default;
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;
};

// What a child window of the host's MDI area shows; print and export act on the active one.
enum class ViewerKind { None, Task, Solution, Statistics };
// Viewers mark their widget with this property (an int of ViewerKind).
inline constexpr const char* kViewerKindProperty = "kovViewerKind";
