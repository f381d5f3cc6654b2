#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QVBoxLayout;
class QWSEvent;

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
    ~ZMainWidget() override;

    void setContentWidget(QWidget* content);
    QWidget* getContentWidget() const;
    void setCSTWidget(QWidget* softKeys);
    QWidget* getCSTWidget() const;
    QLabel* getTitleBarWidget() const;

    // Every key press and release reaching this window comes here first;
    // returning true consumes the event.
    virtual bool qwsEvent(QWSEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isPropagationOfLastKey(QObject* receiver, QEvent* event) const;

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
