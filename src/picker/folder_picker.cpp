#include "picker/folder_picker.h"

#include "platform/widgets.h"
#include "core/folder_reader.h"
#include "core/paths.h"
#include "core/text.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QPixmap>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A closed yellow folder.
static const char* const folder_closed_xpm[] = {
    "16 16 9 1",
    "  c None",
    "# c #6b4f00",
    "a c #ffe680",
    "b c #ffd42a",
    "c c #e0b000",
    "d c #fff7cc",
    "e c #b08a00",
    "f c #fff0a0",
    "g c #9a9a9a",
    "                ",
    "                ",
    "  ####          ",
    " #ffff#         ",
    "#ffffff######   ",
    "#dddddddddddd#  ",
    "#daaaaaaaaaab#g ",
    "#dabbbbbbbbbc#g ",
    "#dabbbbbbbbbc#g ",
    "#dabbbbbbbbbc#g ",
    "#dabbbbbbbbbc#g ",
    "#dbbbbbbbbbbc#g ",
    "#ecccccccccce#g ",
    "##############g ",
    " ggggggggggggg  ",
    "                ",
};

// The same folder opened, a sheet showing inside.
static const char* const folder_open_xpm[] = {
    "16 16 11 1",
    "  c None",
    "# c #6b4f00",
    "a c #ffe680",
    "b c #ffd42a",
    "c c #e0b000",
    "d c #fff7cc",
    "e c #b08a00",
    "f c #fff0a0",
    "g c #9a9a9a",
    "h c #c99a00",
    "i c #fcfcf4",
    "                ",
    "                ",
    "  ####          ",
    " #ffff######    ",
    " #hhhhhhhhhh#   ",
    " #hiiiiiiiih#   ",
    " #hiiiiiiiih#   ",
    " #h#############",
    " #h#dddddddddd#g",
    " ##dabbbbbbbbc#g",
    " #dabbbbbbbbc#g ",
    " #dbbbbbbbbbc#g ",
    "#dbbbbbbbbbc#g  ",
    "#ecccccccccc#g  ",
    "#############g  ",
    " gggggggggggg   ",
};

// A closed folder with a padlock: the folder cannot be read.
static const char* const folder_locked[] = {
    "16 16 10 1",
    "  c None",
    "# c #6b4f00",
    "a c #ffe680",
    "b c #ffd42a",
    "c c #e0b000",
    "d c #fff7cc",
    "e c #b08a00",
    "g c #9a9a9a",
    "k c #505050",
    "l c #c8c8c8",
    "                ",
    "                ",
    "  ####          ",
    " #aaaa#         ",
    "#aaaaaa######   ",
    "#dddddddddddd#  ",
    "#daaaaaaaaaab#g ",
    "#dabbbbbbbkkk#g ",
    "#dabbbbbbkbbbk#g",
    "#dabbbbbbkbbbk#g",
    "#dabbbbbkkkkkkk ",
    "#dbbbbbbklllllk ",
    "#ecccccckllkllk ",
    "########kllkllk ",
    " gggggggklllllk ",
    "        kkkkkkk ",
};

}  // namespace

Directory::Directory(QTreeWidget* parent, const QString& name)
    : QTreeWidgetItem(parent, Type), folderName(name), parentFolder(nullptr),
      readable(QDir(fullName()).isReadable())
{
    setText(0, name);
    setChildIndicatorPolicy(readable ? ShowIndicator : DontShowIndicator);
    closed();
}

// Creating a row only asks whether the folder may be read; nothing is listed until it opens.
Directory::Directory(Directory* parent, const QString& name)
    : QTreeWidgetItem(parent, Type), folderName(name), parentFolder(parent),
      readable(QDir(fullName()).isReadable())
{
    setText(0, name);
    setChildIndicatorPolicy(readable ? ShowIndicator : DontShowIndicator);
    closed();
}

QString Directory::fullName() const
{
    if (!parentFolder)
        return folderName;
    return joinPath(parentFolder->fullName(), folderName);
}

QVariant Directory::data(int column, int role) const
{
    if (column > 0 && role == Qt::DisplayRole)
        return readable ? QStringLiteral("Directory") : QStringLiteral("Unreadable Directory");
    if (column == 0 && role == Qt::DecorationRole && treeWidget())
        return static_cast<const DirectoryView*>(treeWidget())->icon(look);
    return QTreeWidgetItem::data(column, role);
}

void Directory::setLook(FolderLook newLook)
{
    look = newLook;
    emitDataChanged();
}

void Directory::setOpen(bool open)
{
    if (open) {
        list();
        if (!readable)
            return;
    }
    setExpanded(open);
    if (open)
        opened();
    else
        closed();
}

void Directory::opened()
{
    list();
    if (!readable) {
        setExpanded(false);
        return;
    }
    setLook(FolderLook::Open);
}

void Directory::closed()
{
    setLook(readable ? FolderLook::Closed : FolderLook::Locked);
}

// A folder is listed once; later openings show the rows from then. Subfolders only, hidden
// ones too, by name. Never a link: a link would show a folder twice or lead in a circle.
// Never a name that is not UTF-8: the path chosen would be another folder's, or none.
void Directory::list()
{
    if (listed || !readable)
        return;
    std::vector<FolderEntry> entries;
    if (!readFolderEntries(fullName(), true, false, &entries)) {
        readable = false;
        setChildIndicatorPolicy(DontShowIndicator);
        setLook(FolderLook::Locked);
        return;
    }
    listed = true;
    QTreeWidget* view = treeWidget();
    const bool updates = view && view->updatesEnabled();
    if (view)
        view->setUpdatesEnabled(false);
    std::sort(entries.begin(), entries.end(), inNameOrder);
    for (const FolderEntry& entry : entries)
        if (entry.kind == EntryKind::Folder && entry.validUtf8)
            new Directory(this, entry.name);
    setChildIndicatorPolicy(DontShowIndicatorWhenChildless);
    if (view)
        view->setUpdatesEnabled(updates);
}

DirectoryView::DirectoryView(QWidget* parent)
    : QTreeWidget(parent),
      folderClosed(QPixmap(folder_closed_xpm)),
      folderOpen(QPixmap(folder_open_xpm)),
      folderLocked(QPixmap(folder_locked))
{
    setDragEnabled(false);
    setAcceptDrops(false);
    connect(this, &QTreeWidget::itemExpanded, this, [](QTreeWidgetItem* item) {
        if (item->type() == Directory::Type)
            static_cast<Directory*>(item)->opened();
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem* item) {
        if (item->type() == Directory::Type)
            static_cast<Directory*>(item)->closed();
    });
}

const QIcon& DirectoryView::icon(FolderLook look) const
{
    return look == FolderLook::Open ? folderOpen : look == FolderLook::Locked ? folderLocked : folderClosed;
}

// Walks down from the root through the children of each matched folder, so only the
// folders on the path are listed. A part that matches nothing leaves the last match current.
void DirectoryView::setDir(const QString& path)
{
    QTreeWidgetItem* root = topLevelItem(0);
    if (!root)
        return;
    for (int i = 1; i < topLevelItemCount(); ++i)
        topLevelItem(i)->setExpanded(false);
    collapseBelow(root);
    auto* current = static_cast<Directory*>(root);
    current->setOpen(true);
    // The tree shows no links: a path through one is shown where it really leads.
    const QString real = QFileInfo(path).canonicalFilePath();
    const QStringList parts = QDir::cleanPath(real.isEmpty() ? path : real).split('/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        Directory* match = nullptr;
        for (int i = 0; i < current->childCount() && !match; ++i)
            if (current->child(i)->text(0) == part)
                match = static_cast<Directory*>(current->child(i));
        if (!match)
            break;
        match->setOpen(true);
        current = match;
    }
    setCurrentItem(current);
    scrollToItem(current);
}

void DirectoryView::collapseBelow(QTreeWidgetItem* item)
{
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* child = item->child(i);
        if (child->isExpanded()) {
            collapseBelow(child);
            child->setExpanded(false);
        }
    }
}

// Return chooses nothing by itself; only "Select" ends the picker.
void DirectoryView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

QString MyDialog::getDirectory()
{
    auto* dialog = new ZBaseDialog(nullptr, nullptr, true);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* view = new DirectoryView(dialog);
    view->setHeaderLabels({QStringLiteral("Directory")});
    view->header()->hide();
    view->setIndentation(10);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    const QFileInfoList roots = QDir::drives();
    for (const QFileInfo& root : roots) {
        auto* row = new Directory(view, root.filePath());
        if (roots.size() == 1)
            row->setOpen(true);
    }
    view->setDir("/");
    layout->addWidget(view);
    dialog->addButtonRow(layout, CN("Select"), CN("Cancel"));
    dialog->resize(220, 240);

    QString result;
    if (dialog->exec() == QDialog::Accepted && view->currentItem())
        result = static_cast<Directory*>(view->currentItem())->fullName();
    delete dialog;
    return result;
}
