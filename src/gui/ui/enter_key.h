#pragma once

#include <vector>

class QPushButton;
class QWidget;

// The desktop convention for Enter (and Return) in a window: it presses the button that has the
// focus; in any other control (a field, a list, a radio button) it presses the step's Next, the
// first of `next` that is visible and enabled, and otherwise does nothing. The window owns the
// filter this installs.
void installEnterKey(QWidget& window, std::vector<QPushButton*> next = {});
