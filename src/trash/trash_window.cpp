#include "trash/trash_window.h"

#include "commands/job.h"
#include "commands/transfer.h"
#include "core/text.h"
#include "platform/icons.h"
#include "platform/popupmenu.h"
#include "platform/softkeys.h"

#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>


namespace {


}  // namespace

TrashList::TrashList(QWidget* parent) : UTIL_ListBox("ezx_util_list", parent, 0)
{
}

void TrashList::setEntries(const QList<TrashedEntry>& trashed)
{
    clear();
    entries = trashed;
    std::vector<UTIL_ListBoxItem*> rows;
    for (int row = 0; row < entries.size(); ++row)
        rows.push_back(new UTIL_ListBoxItem(nullptr, QString()));
    appendItems(rows);
    setCurrentItem(0);
}

const TrashedEntry* TrashList::current() const
{
    return currentItem() >= 0 && currentItem() < entries.size() ? &entries.at(currentItem()) : nullptr;
}

void TrashList::paintCell(QPainter* painter, int row, int column)
{
    UTIL_ListBox::paintCell(painter, row, column);
    const TrashedEntry& entry = entries.at(row);
    const QString when = entry.damaged() ? CN("damaged") : entry.deleted.toString("MM-dd hh:mm");
    const int whenWidth = painter->fontMetrics().horizontalAdvance(when);
    const int right = viewport()->width() - 4;
    painter->drawText(right - whenWidth, 16, when);
    painter->drawText(4, 16, painter->fontMetrics().elidedText(entry.shownName(), Qt::ElideRight, right - whenWidth - 12));
}

TrashWindow::TrashWindow(QWidget* parent)
    : ZMainWidget(CN("Trash"), false, parent), messages(this, "Dialog_Empty_Trash.gif")
{
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    list = new TrashList(content);
    list->setFrameStyle(0);
    origin = new QLabel(content);
    origin->setObjectName("origin");
    origin->setTextFormat(Qt::PlainText);
    origin->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(list, 1);
    layout->addWidget(origin);
    setContentWidget(content);
    connect(list, &UTIL_ListBox::highlighted, this, &TrashWindow::showOrigin);

    softKeys = new UTIL_CST(this, CN("Restore"), "CST_Menu", "CST_Back");
    setCSTWidget(softKeys);
    connect(softKeys->getRightBtn(), &QPushButton::clicked, this, &QWidget::close);
    connect(softKeys->getMidBtn(), &QPushButton::clicked, this, &TrashWindow::restoreCurrent);
    auto* menu = new PopupMenu(softKeys);
    const int restore = menu->insertItem(CN("Restore")), remove = menu->insertItem(CN("Delete")),
              empty = menu->insertItem(CN("Empty")), size = menu->insertItem(CN("Info..."));
    connect(menu, &PopupMenu::activated, this, [=](int id) {
        if (id == restore)
            restoreCurrent();
        else if (id == remove)
            deleteCurrent();
        else if (id == empty)
            emptyTrash();
        else if (id == size)
            showSize();
    });
    softKeys->getLeftBtn()->setPopup(menu);
    reload();
}

void TrashWindow::reload()
{
    list->setEntries(trashedEntries());
    showOrigin();
}

void TrashWindow::showOrigin()
{
    const TrashedEntry* entry = list->current();
    const QString text = !entry ? CN("The Trash is empty")
                         : entry->damaged() ? CN("Its record is damaged")
                                            : CN("From: ") + entry->originalFolder();
    // A long folder gives up its middle, so that the label stays on the phone's screen.
    origin->setText(origin->fontMetrics().elidedText(text, Qt::ElideMiddle, width() - 8));
}

// Back where it came from, the folders it was in made again; an entry there now is replaced
// only when the user agrees, and then it takes the restored entry's place in the trash.
void TrashWindow::restoreCurrent()
{
    const TrashedEntry* entry = list->current();
    if (!entry)
        return;
    const QString name = entry->shownName();
    if (entry->damaged()) {
        messages.show("[" + name + CN("] cannot be restored: its record is damaged"));
        return;
    }
    const QString place = QFile::decodeName(entry->original);
    const bool taken = entryExists(place);
    if (taken && !messages.mayReplace(place))
        return;
    const int error = restoreFromTrash(*entry, taken);
    messages.show(error == 0 ? "[" + name + CN("] restored to [") + entry->originalFolder() + "]"
                             : notRestoredText(*entry, error));
    reload();
}

void TrashWindow::deleteCurrent()
{
    const TrashedEntry* entry = list->current();
    if (!entry || messages.ask(CN("want to delete?    [") + entry->shownName() + CN("]\nremove can't reverse!")) != 0)
        return;
    const int error = removeFromTrash(*entry);
    messages.show(error == 0 ? entry->shownName() + CN("\nDelete success")
                             : "[" + entry->shownName() + CN("] failed: ") + errorText(error));
    reload();
}

void TrashWindow::emptyTrash()
{
    const QList<TrashedEntry> entries = trashedEntries();
    if (entries.isEmpty() || messages.ask(CN("Empty the Trash? ") + QString::number(entries.size())
                                          + CN(" entries\nremove can't reverse!")) != 0)
        return;
    QStringList failures;
    int done = 0;
    bool stopped = false;
    {
        Job job;
        job.setTotal(entries.size(), 0);
        for (const TrashedEntry& entry : entries) {
            job.progress(done + failures.size(), 0, entry.shownName());
            job.poll();
            if ((stopped = job.stopped()))
                break;
            const int error = removeFromTrash(entry);
            if (error == 0)
                ++done;
            else
                failures << "[" + entry.shownName() + CN("] failed: ") + errorText(error);
        }
    }
    if (stopped)
        failures.prepend(CN("Stopped: ") + QString::number(done) + CN(" of ") + QString::number(entries.size()) + CN(" deleted"));
    messages.show(failures.isEmpty() ? CN("The Trash is empty") : failures.join("\n"));
    reload();
}

void TrashWindow::showSize()
{
    const QList<TrashedEntry> entries = trashedEntries();
    QStringList paths;
    for (const TrashedEntry& entry : entries)
        paths << QFile::decodeName(entry.filePath());
    qint64 bytes = 0;
    {
        Job job;
        job.show(CN("Measuring..."));
        bytes = measureTrees(paths, &job).bytes;
    }
    messages.show(CN("Trash: ") + QString::number(entries.size()) + CN(" entries, ") + shownBytes(bytes));
}
