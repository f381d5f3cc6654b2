#include "commands/check_windows.h"

#include "commands/file_rows.h"
#include "platform/keys.h"

#include <QCheckBox>

QCheckBox* addCheckAllBox(QWidget* window, FileRowList* list)
{
    auto* box = new QCheckBox(window);
    box->setObjectName("FCheck");
    box->move(200, 3);
    box->resize(20, 20);
    QObject::connect(box, &QCheckBox::clicked, list, &FileRowList::checkEveryRow);
    return box;
}

bool takeEnterKey(const QWSEvent* event, const std::function<void()>& onPress)
{
    bool pressed = false;
    if (!isKeyEvent(event, Qt::Key_Enter, &pressed))
        return false;
    if (pressed)
        onPress();
    return true;
}
