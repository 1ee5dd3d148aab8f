// Windows that work for another window: the desktop stacks them above it and treats them
// with it as one (they minimise and come back together).
#pragma once

class QWidget;

// `window` belongs to `owner` from now on. Both are top-level windows; `window` keeps no
// widget parent, so that disabling the owner leaves it working.
void BelongTo(QWidget& window, QWidget& owner);
