#include "properties/file_widget.h"

#include "platform/softkeys.h"
#include "platform/widgets.h"
#include "core/settings.h"
#include "core/text.h"
#include "commands/job.h"

#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QTimer>

namespace {

// The window waits a second after measuring; other windows go on painting meanwhile.
void pauseAfterMeasuring()
{
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

FileWidget_W::FileWidget_W(QWidget* parent, const QString& path)
    : ZMainWidget(CN("property"), true, parent, nullptr, {})
{
    label = new QLabel(QString(), this);
    label->setObjectName("Nlabel");
    // Names and paths are shown as they are, whatever they hold.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    info.setFile(path);
    if (info.isFile()) {
        showText(CN("\nType :") + info.suffix() + "\n", cSize(info.size()));
    } else {
        Job job;
        job.show(CN("Measuring [") + info.fileName() + "]");
        WDir(path, job);
        pauseAfterMeasuring();
    }
    setContentWidget(label);
    label->show();
    // The text stops short of the button row. Margins set before the label first shows do not hold.
    label->setContentsMargins(2, 0, 2, UTIL_PushButton::defaultHeight);

    nameField = new ZMultiLineEdit(this, true, 1, "Edit");
    nameField->setEdited(true);
    nameField->move(width() / 4 - 10, UTIL_PushButton::defaultHeight + 4);
    nameField->resize(width() - nameField->x() - 4, nameField->sizeHint().height());
    nameField->setText(info.fileName());
    nameField->setReadOnly(true);
    nameField->show();

    const int side = UTIL_PushButton::defaultWidth;
    const int buttonHeight = UTIL_PushButton::defaultHeight - 2;
    const int top = height() - UTIL_PushButton::defaultHeight + 2;
    left = new UTIL_PushButton("CST_Menu", QString(), this, 0, side, buttonHeight);
    middle = new UTIL_PushButton(QString(), QString(), this, 0, 110, buttonHeight);
    middle->setFixedWidth(width() - 2 * side);
    right = new UTIL_PushButton("CST_Back", QString(), this, 0, side, buttonHeight);
    left->move(0, top);
    middle->move(side, top);
    right->move(width() - side, top);
    connect(right, &QPushButton::clicked, this, &QWidget::close);
}

QString FileWidget_W::cSize(qint64 size)
{
    const auto shown = [](qint64 number, const char* unit) { return QString::number(number) + "       " + unit; };
    if (size >= Q_INT64_C(1073741824))
        return shown(size / Q_INT64_C(1073741824), "GB");
    if (size >= 1048576)
        return shown(size / 1048576, "MB");
    if (size >= 1024)
        return shown(size / 1024, "KB");
    return shown(size, "B");
}

// The size is what du printed before the tab, with a decimal point whatever the user's locale.
void FileWidget_W::WDir(const QString& path, Job& job)
{
    ProgramOptions options;
    options.fixedLocale = true;
    options.keepOutput = true;
    const CommandResult result = job.run({"/usr/bin/du", "-sh", "--", path}, options);
    showText(CN("\nType: Folder  \n"), result.stopped ? CN("stopped") : result.output.split('\t', Qt::SkipEmptyParts).value(0));
}

void FileWidget_W::showText(const QString& typeLine, const QString& size)
{
    text = CN("\nName:\n") + typeLine + CN("\nDirs: ") + info.absolutePath() + "\n" + CN("\nSize: ") + size + "\n"
           + CN("\nDate: ") + info.lastModified().toString() + "\n\n";
    label->setText(text);
}
