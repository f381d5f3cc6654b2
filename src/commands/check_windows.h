#pragma once

#include <functional>

class FileRowList;
class QCheckBox;
class QWSEvent;
class QWidget;

// What the windows of checkable file rows share.

// The "FCheck" box at the right end of the window's title bar: a click sets every row of the
// list to the box's state. Shown with the window unless the window hides it.
QCheckBox* addCheckAllBox(QWidget* window, FileRowList* list);

// True when the event is the Enter key, which the window then consumes; a press runs onPress.
bool takeEnterKey(const QWSEvent* event, const std::function<void()>& onPress);
