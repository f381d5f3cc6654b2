#pragma once

// The window system's key event as the phone framework hands it to a window's qwsEvent().
class QWSEvent
{
public:
    enum Type { Key = 4 };
    explicit QWSEvent(int eventType) : type(eventType) {}
    int type;
};

class QWSKeyEvent : public QWSEvent
{
public:
    QWSKeyEvent(int keycode, int unicode, bool isPress)
        : QWSEvent(Key), simpleData{unicode, keycode, isPress}
    {
    }
    struct SimpleData {
        int unicode;
        int keycode;  // 16-bit key number of the old toolkit
        bool is_press;
    } simpleData;
};

// Key numbers recorded on a handset keep working: printable keys keep their value,
// special keys and phone keys move to the old toolkit's 0x1000 and 0x1100 ranges.
int oldToolkitKeyCode(int qtKey);

// The soft keys, left to right.
enum class SoftKey { None, Left, Middle, Right };

// The soft key a key stands for: F1, F2, F3 and the handset's Context1 to Context3 (codes 4352
// to 4354) left to right, the Menu key the left one; in a window other than the main one,
// Escape and the handset's Back key the right one.
SoftKey softKeyFor(int qtKey, bool mainWindow);

// For a window that binds a single key: true when the event is that key, which the window
// then consumes; pressed tells a press from a release.
bool isKeyEvent(const QWSEvent* event, int qtKey, bool* pressed);
