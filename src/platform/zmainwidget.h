#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

class QKeyEvent;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWSEvent;
enum class SoftKey;

// A phone window: title bar label, one content widget, one soft-key bar.
// It is always a top-level window; a parent only owns it.
class ZMainWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int screenWidth = 240;
    static constexpr int screenHeight = 320;

    ZMainWidget(const QString& title, bool editorMode, QWidget* parent = nullptr,
                const char* name = nullptr, Qt::WindowFlags flags = {});

    void setContentWidget(QWidget* content);
    QWidget* getContentWidget() const;
    void setCSTWidget(QWidget* softKeys);
    QWidget* getCSTWidget() const;
    QLabel* getTitleBarWidget() const;

    // Every key press and release reaching this window comes here first;
    // returning true consumes the event.
    virtual bool qwsEvent(QWSEvent* event);

    // The window's soft key as it stands, left to right; none where the bar has no such key.
    QPushButton* softKeyButton(SoftKey key) const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    class KeyRouter;

    bool routeKey(QObject* receiver, QKeyEvent* event);
    bool isPropagationOfLastKey(QObject* receiver, QEvent* event) const;
    static void pressSoftKey(QPushButton* button);

    QLabel* titleBar;
    QVBoxLayout* layout;
    QPointer<QWidget> content;
    QPointer<QWidget> softKeys;
    QEvent* lastKeyEvent = nullptr;
    QPointer<QObject> lastKeyReceiver;
    int lastKeyType = 0;
    int lastKey = 0;
    // A key whose press the hook consumed: its auto-repeats are consumed too.
    int heldKey = 0;
};

// Where a dialog or menu opened from opener may lie: the phone's screen, that is the window
// it was opened from (or the active one) within the display, never more than 240 x 320.
QRect phoneScreenFor(const QWidget* opener);
