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

// For a window that binds a single key: true when the event is that key, which the window
// then consumes; pressed tells a press from a release.
bool isKeyEvent(const QWSEvent* event, int qtKey, bool* pressed);
