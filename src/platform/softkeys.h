#pragma once

#include <QPushButton>

class QMenu;

// A button that opens its popup menu when pressed.
class ZPushButton : public QPushButton
{
    Q_OBJECT
public:
    explicit ZPushButton(QWidget* parent, int style = 3, int width = -1, int height = -1);
    void setPopup(QMenu* menu);
};

// A soft-key sized button placed by its caller.
class UTIL_PushButton : public ZPushButton
{
    Q_OBJECT
public:
    static constexpr int defaultWidth = 80;
    static constexpr int defaultHeight = 26;

    UTIL_PushButton(const QString& resource, const QString& text, QWidget* parent, int style = 0,
                    int width = defaultWidth, int height = defaultHeight);
};

// The bar of three soft keys: left (menu), middle (action), right (exit).
class UTIL_CST : public QWidget
{
    Q_OBJECT
public:
    UTIL_CST(QWidget* parent, const QString& middleText, const QString& leftKey = "CST_Menu",
             const QString& rightKey = "CST_Exit");

    ZPushButton* getLeftBtn() const { return left; }
    ZPushButton* getMidBtn() const { return middle; }
    ZPushButton* getRightBtn() const { return right; }

private:
    ZPushButton* left;
    ZPushButton* middle;
    ZPushButton* right;
};
